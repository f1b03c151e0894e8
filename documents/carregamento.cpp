#include "documents/carregamento.h"

#include "documents/arquivos.h"
#include "documents/dialogos_documento.h"
#include "documents/mensagens.h"
#include "espera/frm_loading.h"

#include <QFile>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

namespace quarvel::documents {

std::optional<QByteArray> Carregamento::ler(const QString& caminho, bool so_arquivo_comum) {
    QString erro;
    auto bytes = so_arquivo_comum ? ler_arquivo_comum(caminho, &erro) : ler_arquivo(caminho, &erro);
    if (!bytes) dialogos_.aviso(dono_, QString::fromUtf8(kArquivoNaoAberto).arg(caminho, erro));
    return bytes;
}

namespace {

int prazo_gravacao_ms() {
    if (const char* valor = std::getenv("QUARVEL_PRAZO_GRAVACAO_MS")) {
        const int ms = std::atoi(valor);
        if (ms > 0) return ms;
    }
    return gravacao::kEsperaMaximaMs;
}

} // namespace

bool Carregamento::gravar(const QString& caminho, const QByteArray& bytes, QString* erro) {
    const std::string nome = QFile::encodeName(caminho).toStdString();
    if (!gravacao::e_pipe_ou_dispositivo(nome)) return gravar_atomico(caminho, bytes, erro);
    std::atomic<bool> desistir{false}, pronto{false};
    bool gravou = false;
    std::string motivo;
    std::thread escritor([&] {
        gravou = gravacao::gravar_atomico(
            nome, {bytes.constData(), static_cast<std::size_t>(bytes.size())}, &motivo,
            Ligacao::Seguir, {prazo_gravacao_ms(), &desistir});
        pronto = true;
    });
    ativo_ = true;
    FormLoading::esperar(
        dono_, [&] { return pronto.load(); }, [&] { desistir = true; });
    ativo_ = false;
    escritor.join();
    if (!gravou && erro) *erro = QString::fromStdString(motivo);
    return gravou;
}

void Carregamento::com_janela_de_espera(const std::function<void(FormLoading&)>& carga) {
    ativo_ = true;
    {
        FormLoading loading(dono_);
        loading.iniciar();
        carga(loading);
    }
    ativo_ = false;
}

} // namespace quarvel::documents
