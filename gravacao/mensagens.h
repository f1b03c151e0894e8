#pragma once
// The texts of the file writer, in Portuguese, for the window and the
// command line alike.
namespace quarvel::gravacao {

inline constexpr const char* kSomenteLeitura = "Permissão negada: o arquivo é somente para leitura";
inline constexpr const char* kNaoEArquivoComum =
    "Não é um arquivo comum, um pipe nem um dispositivo de caracteres";
inline constexpr const char* kPipeSemLeitor = "Nenhum programa está lendo o pipe";
inline constexpr const char* kTrocadoDuranteAGravacao =
    "O arquivo foi trocado por outro durante a gravação";
inline constexpr const char* kCopiaNaoConfere = "A cópia de segurança não confere com o original";
// %1 the seconds a save into a pipe or device may take.
inline constexpr const char* kPrazoEsgotado =
    "O programa que lê não recebeu os dados em %1 s; a gravação foi interrompida";
inline constexpr const char* kGravacaoCancelada = "A gravação foi cancelada";
// %1 the reason, %2 the copy of the old file that stays.
inline constexpr const char* kCopiaGuardada = "%1; o conteúdo anterior está guardado em %2";

} // namespace quarvel::gravacao
