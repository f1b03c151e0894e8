// The application's real print dialog over what a real print server (the
// private cupsd of tests/printing/servidor_cups.cpp) lists: its printers,
// the default one chosen, and nothing that picks pages or copies, which the
// print command would not honour. Read through public widget API only.
#include "app/dialogos.h"
#include "printing/comandos_impressao.h"
#include "printing/envio_cups.h"
#include "tests/printing/servidor_cups.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace qp = quarvel::printing;

namespace {

const QString kFila = QString::fromLatin1(apoio::ServidorCups::fila);

class DialogoReal : public ::testing::Test {
  protected:
    void SetUp() override {
        QString motivo;
        if (!cups.iniciar(&motivo)) GTEST_SKIP() << motivo.toStdString();
    }
    std::vector<qp::DestinoImpressao> destinos() {
        std::vector<qp::DestinoImpressao> r;
        const std::atomic<bool> nunca{false};
        EXPECT_EQ(qp::consultar_destinos(nunca, &r), qp::Resposta::Respondeu);
        return r;
    }
    apoio::ServidorCups cups;
};

// Every text the dialog shows or says, lower-cased.
QStringList textos(const QWidget* d) {
    QStringList r;
    for (const QWidget* w : d->findChildren<QWidget*>()) {
        if (w->isHidden()) continue;
        r << w->accessibleName().toLower() << w->toolTip().toLower();
        if (auto* l = qobject_cast<const QLabel*>(w)) r << l->text().toLower();
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) r << b->text().toLower();
        if (auto* c = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                r << c->itemText(i).toLower();
    }
    return r;
}

TEST_F(DialogoReal, MostraAsImpressorasComAPadraoENaoOfereceIntervaloNemCopias) {
    // A second queue, so that the default is a choice among several.
    QString saida;
    ASSERT_TRUE(
        cups.rodar(QStringLiteral("lpadmin"),
                   {QStringLiteral("-p"), QStringLiteral("Outra"), QStringLiteral("-E"),
                    QStringLiteral("-v"), QStringLiteral("cups-pdf:/"), QStringLiteral("-P"),
                    QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd")},
                   &saida))
        << saida.toStdString();
    const auto lista = destinos();
    ASSERT_EQ(lista.size(), 2u);
    auto dialogos = quarvel::app::criar_dialogos_reais();
    QString escolhida;
    QStringList oferecidas;
    QStringList vistos;
    int giratorios = -1;
    bool visto = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        visto = true;
        auto* impressoras = d->findChild<QComboBox*>(QStringLiteral("impressora"));
        if (impressoras) {
            escolhida = impressoras->currentText();
            for (int i = 0; i < impressoras->count(); ++i)
                oferecidas << impressoras->itemText(i);
        }
        giratorios = int(d->findChildren<QAbstractSpinBox*>().size());
        vistos = textos(d);
        d->reject();
    });
    EXPECT_FALSE(dialogos->configurar_impressao(nullptr, lista).has_value());
    ASSERT_TRUE(visto);
    EXPECT_TRUE(escolhida.startsWith(kFila)) << escolhida.toStdString();
    EXPECT_EQ(oferecidas.size(), 3) << oferecidas.join('|').toStdString(); // two queues, PDF
    EXPECT_EQ(giratorios, 0);
    for (const QString& t : vistos)
        for (const char* proibido : {"cópia", "copia", "intervalo", "páginas", "agrupar"})
            EXPECT_FALSE(t.contains(QString::fromUtf8(proibido))) << t.toStdString();
}

// The server stops (or stops answering) while the dialog is open: Imprimir
// still ends, the events running, with the reason in a message box.
struct ParadaCaso {
    const char* nome;
    bool congelar; // SIGSTOP: it takes connections and never answers
    const char* aviso;
    friend void PrintTo(const ParadaCaso& c, std::ostream* os) { *os << c.nome; }
};

class ServidorParaComODialogoAberto : public DialogoReal,
                                      public ::testing::WithParamInterface<ParadaCaso> {
  protected:
    void TearDown() override { qunsetenv("QUARVEL_PRAZO_IMPRESSAO_MS"); }
};

TEST_P(ServidorParaComODialogoAberto, ImprimirTerminaComOMotivo) {
    const ParadaCaso& c = GetParam();
    qputenv("QUARVEL_PRAZO_IMPRESSAO_MS", "1500");
    auto dialogos = quarvel::app::criar_dialogos_reais();
    QWidget dono;
    dono.show();
    qp::ComandosImpressao comandos(qp::ContextoImpressao{[] {
                                                             qp::ConteudoImpressao conteudo;
                                                             conteudo.linhas_fita << "1,00";
                                                             conteudo.total = "R$ 1,00";
                                                             return conteudo;
                                                         },
                                                         *dialogos, &dono});
    int tiques = 0;
    bool dialogo_visto = false;
    QStringList avisos;
    QTimer relogio;
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        ++tiques;
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* caixa = qobject_cast<QMessageBox*>(modal)) {
            avisos << caixa->text();
            caixa->accept();
        } else if (modal && modal->objectName() == QStringLiteral("form_imprimir") &&
                   !dialogo_visto) {
            dialogo_visto = true;
            if (c.congelar)
                cups.congelar();
            else
                cups.parar();
            modal->findChild<QPushButton*>(QStringLiteral("BT_OK"))->click();
        }
    });
    relogio.start(50);
    comandos.imprimir();
    relogio.stop();
    cups.descongelar();
    EXPECT_TRUE(dialogo_visto);
    // A stopped server refuses at once; a frozen one is waited for, the
    // events running, until the limit.
    if (c.congelar) {
        EXPECT_GT(tiques, 3);
    }
    EXPECT_EQ(avisos, QStringList{QString::fromUtf8(c.aviso)});
}

INSTANTIATE_TEST_SUITE_P(
    Parada, ServidorParaComODialogoAberto,
    ::testing::Values(
        ParadaCaso{"Parado", false,
                   "Não foi possível imprimir: o servidor de impressão não está disponível"},
        ParadaCaso{"Congelado", true, "O servidor de impressão não respondeu."}),
    [](const ::testing::TestParamInfo<ParadaCaso>& i) { return std::string(i.param.nome); });

} // namespace
