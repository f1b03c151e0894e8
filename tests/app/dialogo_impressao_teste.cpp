// The application's real print dialog against a real print server (the
// private cupsd of tests/printing/servidor_cups.cpp): nothing in it picks
// pages or copies, which the print command would not honour.
#include "app/dialogos.h"
#include "tests/printing/servidor_cups.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kFila = QString::fromLatin1(apoio::ServidorCups::fila);

class DialogoReal : public ::testing::Test {
  protected:
    void SetUp() override {
        QString motivo;
        if (!cups.iniciar(&motivo)) GTEST_SKIP() << motivo.toStdString();
    }
    apoio::ServidorCups cups;
};

TEST_F(DialogoReal, NaoOfereceIntervaloNemCopias) {
    auto dialogos = quarvel::app::criar_dialogos_reais();
    QPrinter impressora(QPrinter::HighResolution);
    QStringList oferecidos;
    bool visto = false;
    auto conferir = [&](QPrintDialog* d, const QString& quando) {
        auto* copias = d->findChild<QWidget*>(QStringLiteral("copies"));
        for (const char* nome : {"gbPrintRange", "printRange", "pagesRadioButton", "pageSetCombo",
                                 "copies", "collate"}) {
            auto* w = d->findChild<QWidget*>(QString::fromLatin1(nome));
            // Hidden itself or inside a hidden box: out of the user's reach
            // whichever tab is open.
            bool escondido = false;
            for (QWidget* p = w; p && p != d; p = p->parentWidget())
                if (p->isHidden() && p->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                    !p->parentWidget()->inherits("QStackedWidget") &&
                    p->objectName() != QStringLiteral("QPrintSettingsOutput"))
                    escondido = true;
            if (w && !escondido) oferecidos << quando + QLatin1Char(':') + QLatin1String(nome);
        }
        for (QLabel* l : d->findChildren<QLabel*>())
            if (copias && l->buddy() == copias && !l->isHidden())
                oferecidos << quando + QStringLiteral(":rótulo das cópias");
    };
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        visto = true;
        conferir(d, QStringLiteral("ao abrir"));
        // Choosing another printer and back redoes Qt's own settings.
        if (auto* lista = d->findChild<QComboBox*>(QStringLiteral("printers"))) {
            lista->setCurrentIndex(lista->count() - 1);
            lista->setCurrentIndex(lista->findText(kFila));
        }
        conferir(d, QStringLiteral("depois de trocar"));
        d->reject();
    });
    EXPECT_FALSE(dialogos->configurar_impressao(nullptr, impressora));
    EXPECT_TRUE(visto);
    EXPECT_TRUE(oferecidos.isEmpty()) << oferecidos.join(' ').toStdString();
}

} // namespace
