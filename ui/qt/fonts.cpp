#include "ui/qt/fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QStyleFactory>
#include <QTranslator>

#include <algorithm>
#include <cmath>

namespace quillory {

namespace {

QStringList japaneseFamilies()
{
    return {"Noto Sans CJK JP", "Noto Sans JP", "IPAexGothic", "IPAGothic",
            "VL Gothic",        "TakaoGothic",  "Sans Serif"};
}

} // namespace

void applyLook(QApplication& app)
{
    if (QStyle* fusion = QStyleFactory::create("Fusion"))
        app.setStyle(fusion);
    app.setFont(japaneseFont(kTextPixels));
}

void loadQtTranslations(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

QFont japaneseFont(qreal pixels)
{
    QFont font;
    font.setFamilies(japaneseFamilies());
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    return font;
}

} // namespace quillory
