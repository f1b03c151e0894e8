#include "app/dialogos.h"

#include "app/frm_sobre.h"
#include "app/mensagens.h"
#include "app/som.h"
#include "backup/frm_restaurar.h"
#include "documents/nome_sugerido.h"
#include "printing/data_hora.h"
#include "printing/documento_impressao.h"
#include "printing/frm_imprimir.h"
#include "printing/frm_visualizar.h"
#include "tape/frm_repetir.h"
#include "tape/frm_valor.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QMessageBox>
#include <QUrl>

namespace quarvel::app {
namespace {

// The file list's size and date columns: Qt writes them in the machine's
// locale, whatever the default one; here they are Brazilian like the rest.
class ColunasBrasileiras : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& indice, int papel) const override {
        const auto* arquivos = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (papel != Qt::DisplayRole || !arquivos ||
            (indice.column() != kTamanho && indice.column() != kData))
            return QIdentityProxyModel::data(indice, papel);
        const QModelIndex origem = mapToSource(indice);
        if (indice.column() == kData)
            return printing::momento_brasileiro(arquivos->lastModified(origem));
        if (arquivos->isDir(origem)) return QString();
        return QLocale(QLocale::Portuguese, QLocale::Brazil)
            .formattedDataSize(arquivos->size(origem));
    }

  private:
    static constexpr int kTamanho = 1; // QFileSystemModel's columns
    static constexpr int kData = 3;
};

class DialogosReais : public Dialogos {
  public:
    void aviso(QWidget* dono, const QString& texto) override {
        QMessageBox caixa(QMessageBox::Warning, QString::fromUtf8(kNome), texto, QMessageBox::Ok,
                          dono);
        caixa.exec();
    }

    Resposta perguntar(QWidget* dono, const QString& texto) override {
        QMessageBox caixa(QMessageBox::Warning, QString::fromUtf8(kNome), texto,
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, dono);
        caixa.setDefaultButton(QMessageBox::Yes);
        caixa.setEscapeButton(QMessageBox::Cancel);
        switch (caixa.exec()) {
        case QMessageBox::Yes:
            return Resposta::Sim;
        case QMessageBox::No:
            return Resposta::Nao;
        default:
            return Resposta::Cancelar;
        }
    }

    bool perguntar_recuperacao(QWidget* dono, const QString& texto) override {
        QMessageBox caixa(QMessageBox::Question, QString::fromUtf8(kNome), texto,
                          QMessageBox::Yes | QMessageBox::No, dono);
        caixa.setDefaultButton(QMessageBox::Yes);
        caixa.setEscapeButton(QMessageBox::No);
        return caixa.exec() == QMessageBox::Yes;
    }

    QString abrir_arquivo(QWidget* dono, const QString& filtro, const QString& extensao) override {
        QFileDialog dlg(dono);
        preparar(dlg, filtro);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        // "exemplo" typed and Enter opens exemplo.qvl, as Save would write it.
        dlg.setDefaultSuffix(extensao);
        return dlg.exec() == QDialog::Accepted ? dlg.selectedFiles().value(0) : QString();
    }

    QString salvar_arquivo(QWidget* dono, const QString& filtro, const QString& extensao) override {
        QFileDialog dlg(dono);
        preparar(dlg, filtro);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setDefaultSuffix(extensao);
        // The folder and name last used, with the extension of this kind of file.
        if (!ultimo_salvo_.isEmpty())
            dlg.selectFile(QFile::decodeName(QByteArray::fromStdString(documents::nome_sugerido(
                QFile::encodeName(ultimo_salvo_).toStdString(), extensao.toStdString()))));
        if (dlg.exec() != QDialog::Accepted) return {};
        ultimo_salvo_ = dlg.selectedFiles().value(0);
        return ultimo_salvo_;
    }

    std::optional<printing::EscolhaImpressao>
    configurar_impressao(QWidget* dono,
                         const std::vector<printing::DestinoImpressao>& destinos) override {
        printing::FormImprimir dlg(destinos, dono);
        if (dlg.exec() != QDialog::Accepted) return std::nullopt;
        return dlg.escolha();
    }

    std::optional<QString>
    pedir_valor(QWidget* dono, const QString& titulo, const QString& rotulo, const QString& inicial,
                const std::function<bool(const QString&)>& aceitar) override {
        tape::FormValor dlg(titulo, rotulo, dono);
        dlg.definir_texto(inicial);
        dlg.definir_validacao(aceitar);
        if (dlg.exec() != QDialog::Accepted) return std::nullopt;
        return dlg.texto();
    }

    std::optional<int> pedir_repeticoes(QWidget* dono) override {
        tape::FormRepetir dlg(dono);
        if (dlg.exec() != QDialog::Accepted) return std::nullopt;
        return dlg.vezes();
    }

    QString escolher_backup(QWidget* dono, const QStringList& nomes, const QString& aviso,
                            const std::function<void()>& limpar) override {
        backup::FormRestaurar dlg(nomes, limpar, dono);
        dlg.mostrar_aviso(aviso);
        if (dlg.exec() != QDialog::Accepted) return {};
        return dlg.escolhido();
    }

    void visualizar(QWidget* dono, printing::DocumentoImpressao& doc, const QPageLayout& pagina,
                    const std::function<void(QWidget*)>& imprimir) override {
        printing::TestPrintPreviewDlg dlg(doc, dono, pagina, imprimir);
        dlg.exec();
    }

    void sobre(QWidget* dono) override {
        FormSobre dlg(dono);
        dlg.exec();
    }

    void tocar_confirmacao() override { som_.tocar(); }

    void abrir_endereco(const QString& endereco) override {
        const QUrl url =
            endereco.contains(QLatin1String("://")) || endereco.startsWith(QLatin1String("mailto:"))
                ? QUrl(endereco)
                : QUrl::fromLocalFile(endereco);
        QDesktopServices::openUrl(url);
    }

  private:
    static void preparar(QFileDialog& dlg, const QString& filtro) {
        // Qt's own dialog, so it speaks Portuguese with Qt's translation.
        dlg.setOption(QFileDialog::DontUseNativeDialog, true);
        dlg.setNameFilter(filtro);
        dlg.setProxyModel(new ColunasBrasileiras(&dlg));
    }

    QString ultimo_salvo_;
    SomConfirmacao som_;
};

} // namespace

std::unique_ptr<Dialogos> criar_dialogos_reais() {
    return std::make_unique<DialogosReais>();
}

} // namespace quarvel::app
