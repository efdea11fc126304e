#include "ui/qt/fonts.h"

#include <QApplication>
#include <QStringList>
#include <QStyleFactory>

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
    QFont font;
    font.setFamilies(japaneseFamilies());
    font.setPixelSize(12);
    app.setFont(font);
}

QFont textBoxFont()
{
    QFont font;
    font.setFamilies(japaneseFamilies());
    font.setPixelSize(12);
    return font;
}

} // namespace quillory
