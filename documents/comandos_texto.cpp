#include "documents/comandos_texto.h"

#include "documents/arquivos.h"
#include "documents/carregamento.h"
#include "documents/dialogos_documento.h"
#include "documents/mensagens.h"
#include "documents/texto.h"
#include "espera/frm_loading.h"
#include "tape/visao_fita.h"

#include <QLineEdit>

namespace quarvel::documents {

bool ler_valores_texto(Carregamento& carregamento, DialogosDocumento& dialogos, QWidget* dono,
                       const QString& caminho, bool so_arquivo_comum, LeituraTexto& leitura) {
    const auto bytes = carregamento.ler(caminho, so_arquivo_comum);
    if (!bytes) return false;
    carregamento.com_janela_de_espera([&](FormLoading& loading) {
        leitura = ler_texto({bytes->constData(), static_cast<std::size_t>(bytes->size())},
                            [&loading](std::size_t) {
                                loading.a_cada_valor();
                                return !loading.cancelado();
                            });
    });
    if (leitura.estado == LeituraTexto::Estado::Ok) return true;
    const std::string recusa = mensagem_leitura(leitura, nome_sem_pasta(caminho).toStdString());
    if (!recusa.empty()) dialogos.aviso(dono, QString::fromStdString(recusa));
    return false;
}

bool ComandosTexto::importar(const QString& caminho, bool so_arquivo_comum) {
    LeituraTexto leitura;
    const bool lido = ler_valores_texto(c_.carregamento, c_.dialogos, c_.dono, caminho,
                                        so_arquivo_comum, leitura);
    c_.entrada.setFocus();
    if (!lido) return false;
    // Only a backup is read as a regular file alone.
    trocar_fita(std::move(leitura.brutos), std::move(leitura.linhas),
                so_arquivo_comum ? kPassoRestaurar : kPassoImportar);
    return true;
}

void ComandosTexto::trocar_fita(std::vector<std::string> brutos, std::vector<std::string> linhas) {
    trocar_fita(std::move(brutos), std::move(linhas), kPassoRestaurar);
}

void ComandosTexto::trocar_fita(std::vector<std::string> brutos, std::vector<std::string> linhas,
                                const char* passo) {
    c_.substituir(std::move(brutos), std::move(linhas), QString::fromUtf8(passo));
    c_.visao.definir_linha_atual(1);
}

void ComandosTexto::abrir_txt() {
    const QString caminho = c_.dialogos.abrir_arquivo(c_.dono, QString::fromUtf8(kFiltroTexto),
                                                      QString::fromUtf8(kExtensaoTexto));
    if (!caminho.isEmpty()) importar(caminho);
}

void ComandosTexto::save_txt() {
    const QString caminho = c_.dialogos.salvar_arquivo(c_.dono, QString::fromUtf8(kFiltroTexto),
                                                       QString::fromUtf8(kExtensaoTexto));
    if (caminho.isEmpty()) return;
    QString erro;
    // Into a pipe the export runs away from the window, as a document save does.
    if (!c_.carregamento.gravar(caminho,
                                QByteArray::fromStdString(escrever_texto(c_.fita.linhas())), &erro))
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kArquivoNaoSalvo).arg(caminho, erro));
}

} // namespace quarvel::documents
