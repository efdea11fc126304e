#include "ui/qt/text_box.h"

#include <QFontInfo>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace quillory {

namespace {

// The plain text layout with its lines moved to our own steps: the em box of each
// line sits in the middle of its step, and a line without text takes a lower step.
class SpacedLayout : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

    QRectF blockBoundingRect(const QTextBlock& block) const override
    {
        const QRectF natural = QPlainTextDocumentLayout::blockBoundingRect(block);
        if (!block.isValid() || !block.isVisible())
            return natural;
        QTextLayout* layout = block.layout();
        const QFont font = document()->defaultFont();
        const qreal em = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
        const bool empty = block.length() <= 1;
        const qreal step = (empty ? TextBox::kEmptyLineStep : TextBox::kLineStep) * em;
        const qreal margin = document()->documentMargin();
        // Ideographs fill the em box from 0.88 em above the baseline to 0.12 em below.
        const qreal baseline = (step - em) / 2 + 0.88 * em;
        for (int i = 0; i < layout->lineCount(); ++i) {
            QTextLine line = layout->lineAt(i);
            line.setPosition(QPointF(margin, i * step + baseline - line.ascent()));
        }
        qreal height = std::max(1, layout->lineCount()) * step;
        if (!block.next().isValid())
            height += margin;
        return QRectF(0, 0, natural.width(), height);
    }
};

} // namespace

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent)
{
    auto* document = new QTextDocument(this);
    document->setDocumentLayout(new SpacedLayout(document));
    setDocument(document);
    setReadOnly(true);
}

void TextBox::showText(const QString& text)
{
    setPlainText(text);
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
}

qreal TextBox::contentHeight() const
{
    const QTextDocument* document = this->document();
    qreal height = document->documentMargin();
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next())
        height += document->documentLayout()->blockBoundingRect(block).height();
    return height;
}

bool TextBox::fits() const
{
    return contentHeight() <= viewport()->height() + 0.01;
}

} // namespace quillory
