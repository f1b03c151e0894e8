#pragma once
// The texts of the documents: the calculation and text files, saving, the
// unsaved-changes question and the backup, written once for the window and
// the command line alike. Each is a format for QString::arg or formatar
// (%1, %2, ...).
#include <initializer_list>
#include <string>
#include <string_view>

namespace quarvel::documents {

struct CargaCalculo;
struct LeituraTexto;

// %1 the file, %2 why.
inline constexpr const char* kArquivoNaoAberto = "O arquivo %1 não pôde ser aberto: %2";
// Why a name is not read (kArquivoNaoAberto's %2): only regular files are,
// and none larger than 50,000 values make (limite_leitura.h).
inline constexpr const char* kEPasta = "É uma pasta, não um arquivo";
inline constexpr const char* kEFifo = "É um pipe nomeado (FIFO), não um arquivo";
inline constexpr const char* kEDispositivo = "É um dispositivo, não um arquivo";
inline constexpr const char* kESocket = "É um socket, não um arquivo";
inline constexpr const char* kNaoEArquivoComum = "Não é um arquivo comum";
inline constexpr const char* kGrandeDemais =
    "Tem mais de 13 MB, mais do que um arquivo de 50.000 valores ocupa";
// %1 the line number, %2 the file, %3 the line as quoted.
inline constexpr const char* kLinhaSemValor = "A linha %1 de %2 não contém um valor: %3";
// A save into the file itself was cut short and left the copy of the old
// document beside it. %1 the file, %2 the copy. The window asks (Sim opens
// the copy); the command line, which cannot ask, refuses the file.
inline constexpr const char* kSalvamentoInterrompido =
    "O salvamento de %1 foi interrompido. Abrir a cópia anterior (%2)?";
inline constexpr const char* kSalvamentoInterrompidoSemPergunta =
    "O salvamento de %1 foi interrompido; a cópia anterior está em %2. Abra-o no Quarvel para "
    "escolher entre os dois";
// Added to a damaged file's refusal when such a copy is there: %1 the copy.
inline constexpr const char* kCopiaAnterior = "; a cópia anterior está em %1";
// %1 the file, %2 why.
inline constexpr const char* kArquivoNaoSalvo = "Não foi possível salvar o arquivo %1: %2";
// The name of a calculation never saved, in the title and the question.
inline constexpr const char* kNomeNovo = "NovoCalculo.qvl";
// %1 the file name, without its folder.
inline constexpr const char* kSalvarAlteracoes = "Deseja salvar as alterações em %1";

// The file dialogs: the filter and the extension a name typed without one gets.
inline constexpr const char* kFiltroCalculo = "Calculos de Vantorel (*.qvl)";
inline constexpr const char* kExtensaoCalculo = "qvl";
// Open lists the backups too: they open as a new, unsaved calculation.
inline constexpr const char* kFiltroAbrirCalculo =
    "Calculos de Vantorel e backups (*.qvl *.qvlbackup);;Calculos de Vantorel (*.qvl);;"
    "Backups do Quarvel (*.qvlbackup)";
inline constexpr const char* kFiltroTexto = "Arquivo de Texto (*.txt)";
inline constexpr const char* kExtensaoTexto = "txt";

// The backup switch and the restore window.
inline constexpr const char* kBackupSemNome = "Arquivo Não Definido !";
// %1 the name as typed.
inline constexpr const char* kBackupNomeInvalido = "Nome de arquivo de backup inválido: %1";
inline constexpr const char* kBackupSemIntervalo = "Selecione o intervalo do backup.";
// %1 the backup file.
inline constexpr const char* kBackupEmOutraJanela =
    "O backup %1 já está sendo feito por outra janela do Quarvel. Escolha outro nome de arquivo.";
// The status bar while ticks keep failing; %1 why the last one failed.
inline constexpr const char* kBackupFalhando = "Backup falhando: %1";
inline constexpr const char* kTituloRestaurar = "Restaurar / Limpar Backup";
// The undo history's steps that replace the tape from a file.
inline constexpr const char* kPassoImportar = "Importar Arquivo de Texto";
inline constexpr const char* kPassoRestaurar = "Restaurar Backup";
inline constexpr const char* kPastaLimpa = "O processo da limpeza foi concluído com sucesso !";
// %1 why.
inline constexpr const char* kPastaNaoLimpa = "Não foi possível limpar a pasta Backup: %1";
// %1 the folder, %2 why.
inline constexpr const char* kPastaNaoCriada = "Não foi possível criar a pasta %1: %2";
inline constexpr const char* kPastaNaoAberta = "a pasta %1 não pôde ser aberta (%2).";
// %1 the folder, %2 why.
inline constexpr const char* kPastaNaoLida = "Não foi possível ler a pasta %1: %2";
// Where a backup is saved, as the main window's Backup box says it: the
// Backup folder beside a program run from a folder it may write, else the
// folder by name (%1).
inline constexpr const char* kNotaBackupJunto =
    "Este arquivo será salvo na pasta Backup, no diretório onde foi instalado o Quarvel.";
inline constexpr const char* kNotaBackupPasta = "Este arquivo será salvo na pasta:\n%1";
// form_restaurar's folder (%1), and the name a screen reader gives it.
inline constexpr const char* kRotuloPastaRestaurar = "Pasta: %1";
inline constexpr const char* kNomePastaRestaurar = "pasta dos backups: %1";
inline constexpr const char* kPastaIndefinida =
    "A pasta Backup não está definida: nem XDG_DATA_HOME nem HOME indicam a pasta de dados.";
// Why a temporary file stays in the folder being cleared.
inline constexpr const char* kGravacaoEmCurso = "em uso por uma gravação em andamento";

// %1 the journal, %2 why.
inline constexpr const char* kDiarioNaoGravado =
    "O diário da sessão não pôde ser gravado em %1: %2. Se o Quarvel for fechado de forma "
    "inesperada, a fita não poderá ser recuperada.";

// Each %1..%9 of `modelo` replaced by that value, in one pass as
// QString::arg with several arguments does: a value holding "%2" stays as it
// is. A marker without a value stays too.
std::string formatar(std::string_view modelo, std::initializer_list<std::string_view> valores);

// The refusal a load or an import ends in; empty when there is none (Ok, or
// an import the user cancelled). `arquivo` is the file as the message names
// it.
// `copia`: the copy an interrupted save left beside the file, named in the
// refusal of a damaged one.
std::string mensagem_carga(const CargaCalculo& carga, std::string_view arquivo,
                           std::string_view copia = {});
std::string mensagem_leitura(const LeituraTexto& leitura, std::string_view arquivo);

} // namespace quarvel::documents
