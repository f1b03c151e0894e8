// The Windows faces of the layout resolve to faces of the same metrics, both
// in fontconfig and in what Qt draws with.
#include "app/fontes.h"

#include <QFont>
#include <QFontInfo>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string face_do_fontconfig(const char* pedida) {
    FcPattern* padrao = FcNameParse(reinterpret_cast<const FcChar8*>(pedida));
    FcConfigSubstitute(nullptr, padrao, FcMatchPattern);
    FcDefaultSubstitute(padrao);
    FcResult resultado;
    FcPattern* achada = FcFontMatch(nullptr, padrao, &resultado);
    std::string face;
    FcChar8* familia = nullptr;
    if (achada && FcPatternGetString(achada, FC_FAMILY, 0, &familia) == FcResultMatch)
        face = reinterpret_cast<const char*>(familia);
    if (achada) FcPatternDestroy(achada);
    FcPatternDestroy(padrao);
    return face;
}

TEST(Fontes, FacesDoLayoutTemEquivalentesDeMesmaMetrica) {
    ASSERT_TRUE(quarvel::app::registrar_fontes_equivalentes());
    const std::pair<const char*, const char*> casos[] = {
        {"MS Sans Serif", "Liberation Sans"},
        {"MS Sans Serif:bold", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
    };
    for (const auto& [pedida, esperada] : casos) {
        EXPECT_EQ(face_do_fontconfig(pedida), esperada) << pedida;
        const QString familia = QString::fromUtf8(pedida).section(QLatin1Char(':'), 0, 0);
        EXPECT_EQ(QFontInfo(QFont(familia)).family(), QString::fromUtf8(esperada)) << pedida;
    }
}

} // namespace
