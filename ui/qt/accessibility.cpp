#include "ui/qt/accessibility.h"

#include "ui/qt/picture_box.h"
#include "ui/qt/picture_descriptions.h"
#include "ui/qt/text_label.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace quillory {

namespace {

bool wide(QChar c)
{
    return c.unicode() >= 0x2E80;
}

class LabelAccessible : public QAccessibleWidget {
public:
    explicit LabelAccessible(QWidget* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return withoutPadding(static_cast<const TextLabel*>(widget())->text());
        return QAccessibleWidget::text(kind);
    }
};

class PictureAccessible : public QAccessibleWidget {
public:
    explicit PictureAccessible(QWidget* picture) : QAccessibleWidget(picture, QAccessible::Graphic)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        const auto* box = static_cast<const PictureBox*>(widget());
        if (kind != QAccessible::Name && kind != QAccessible::Description)
            return QAccessibleWidget::text(kind);
        if (box->file().isEmpty())
            return kind == QAccessible::Name ? QStringLiteral("絵") : QString();
        if (!box->loaded())
            return kind == QAccessible::Name
                       ? QStringLiteral("絵（表示できません）")
                       : "絵のファイル " + box->file() + " を表示できません。";
        const PictureText picture = pictureText(box->file());
        return kind == QAccessible::Name ? picture.name : picture.description;
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    if (className == QLatin1String("quillory::TextLabel"))
        return new LabelAccessible(widget);
    if (className == QLatin1String("quillory::PictureBox"))
        return new PictureAccessible(widget);
    if (className == QLatin1String("quillory::ScreenWindow"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

QString withoutPadding(const QString& text)
{
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        if (!text[i].isSpace()) {
            out += text[i++];
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text[end].isSpace())
            ++end;
        if (!out.isEmpty() && end < text.size() && !(wide(out.back()) && wide(text[end])))
            out += ' ';
        i = end;
    }
    return out;
}

QString accessibleNameOf(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

QString accessibleDescriptionOf(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Description) : QString();
}

} // namespace quillory
