// The preview's tool-bar pictures come from the printing library's own
// resources: a table the linker dropped, or a picture missing from it, would
// leave a button blank with nothing else failing.
#include "printing/frm_visualizar.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

#include "printing/documento_impressao.h"
#include "tests/printing/previa_apoio.h"

namespace qp = quarvel::printing;

namespace {

struct CasoFigura {
    const char* comando;
    QRgb tinta; // a colour the picture is drawn in, kept readable on dark desktops too
};

void PrintTo(const CasoFigura& c, std::ostream* os) {
    *os << c.comando;
}

class FiguraPrevia : public ::testing::TestWithParam<CasoFigura> {};

TEST_P(FiguraPrevia, BotaoMostraSuaFiguraNaSuaCor) {
    qp::DocumentoImpressao doc;
    qp::TestPrintPreviewDlg d(doc);
    const QAction* a = qp::VistaPrevia(d).comando(GetParam().comando);
    ASSERT_NE(a, nullptr);
    ASSERT_FALSE(a->icon().isNull());
    const QImage img = a->icon().pixmap(17, 17).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(img.size(), QSize(17, 17));
    int na_tinta = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            na_tinta += img.pixel(x, y) == (GetParam().tinta | 0xff000000u);
    EXPECT_GE(na_tinta, 4);
}

const CasoFigura kFiguras[] = {
    {"FirstCmd", qRgb(0, 0, 128)},    {"PrevCmd", qRgb(0, 0, 128)},
    {"NextCmd", qRgb(0, 0, 128)},     {"LastCmd", qRgb(0, 0, 128)},
    {"ZoomCmd", qRgb(200, 230, 255)}, {"PrintCmd", qRgb(192, 192, 192)},
    {"CloseCmd", qRgb(160, 0, 0)},
};

INSTANTIATE_TEST_SUITE_P(Previa, FiguraPrevia, ::testing::ValuesIn(kFiguras),
                         [](const auto& i) { return std::string(i.param.comando); });

} // namespace
