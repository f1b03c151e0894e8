#include "app/dialogos.h"

#include "app/frm_sobre.h"
#include "app/mensagens.h"
#include "app/som.h"
#include "documents/frm_restaurar.h"
#include "documents/nome_sugerido.h"
#include "printing/data_hora.h"
#include "printing/documento_impressao.h"
#include "printing/frm_visualizar.h"
#include "printing/mensagens.h"
#include "tape/frm_repetir.h"
#include "tape/frm_valor.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>
#include <vector>

namespace quarvel::app {
namespace {

// The system print dialog without the controls that pick pages or copies. On
// CUPS, Qt's dialog offers a page range, a page set and copies even when told
// not to, and hands them to the server; a tape is always printed whole and
// once. Qt shows those controls again whenever it redoes its settings (when
// the dialog opens, when another printer is chosen), so they are hidden
// again each time.
class DialogoImpressao : public QPrintDialog {
  public:
    DialogoImpressao(QPrinter* impressora, QWidget* dono) : QPrintDialog(impressora, dono) {
        for (const char* nome : {"gbPrintRange", "copies", "collate", "outputIcon"})
            if (auto* w = findChild<QWidget*>(QString::fromLatin1(nome))) esconder(w);
        if (auto* copias = findChild<QWidget*>(QStringLiteral("copies")))
            for (QLabel* rotulo : findChildren<QLabel*>())
                if (rotulo->buddy() == copias) esconder(rotulo);
    }

    void setVisible(bool visivel) override {
        QPrintDialog::setVisible(visivel);
        for (QWidget* w : escondidos_)
            w->hide();
    }

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::ShowToParent) static_cast<QWidget*>(o)->hide();
        return QPrintDialog::eventFilter(o, e);
    }

  private:
    void esconder(QWidget* w) {
        escondidos_.push_back(w);
        w->installEventFilter(this);
    }
    std::vector<QWidget*> escondidos_;
};

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

    bool configurar_impressao(QWidget* dono, QPrinter& impressora) override {
        DialogoImpressao dlg(&impressora, dono);
        dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
        dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dlg.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
        return dlg.exec() == QDialog::Accepted;
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
        documents::FormRestaurar dlg(nomes, limpar, dono);
        dlg.mostrar_aviso(aviso);
        if (dlg.exec() != QDialog::Accepted) return {};
        return dlg.escolhido();
    }

    void visualizar(QWidget* dono, printing::DocumentoImpressao& doc) override {
        printing::TestPrintPreviewDlg dlg(doc, dono);
        QObject::connect(&dlg, &printing::TestPrintPreviewDlg::falha_impressao, &dlg,
                         [this, &dlg](const QString& motivo) {
                             aviso(&dlg, QString::fromUtf8(printing::kFalhaImpressao).arg(motivo));
                         });
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
