#include "app/ajuda.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace quarvel::app {

QString arquivo_ajuda() {
    const QString pasta = QCoreApplication::applicationDirPath();
    const QString candidatos[] = {pasta + QStringLiteral("/ajuda_quarvel.chm"),
                                  pasta + QStringLiteral("/ajuda_quarvel.html"),
                                  pasta + QStringLiteral("/../share/quarvel/ajuda_quarvel.html")};
    for (const QString& caminho : candidatos)
        if (QFileInfo::exists(caminho)) return QFileInfo(caminho).absoluteFilePath();
    return {};
}

} // namespace quarvel::app
