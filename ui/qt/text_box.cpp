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
// The plain layout puts lines at its own steps whenever it lays a block out: when
// the document changes, and after it drops every block's lines (a new width). Right
// after each, every block is laid out and its lines moved; asking for a block's
// size moves nothing.
class SpacedLayout : public QPlainTextDocumentLayout {
public:
    explicit SpacedLayout(QTextDocument* document) : QPlainTextDocumentLayout(document)
    {
        // The width changed, or the layout was asked to start again: it has
        // dropped every block's lines and tells its views.
        connect(this, &QAbstractTextDocumentLayout::update, this, [this] { space(); });
    }

    QRectF blockBoundingRect(const QTextBlock& block) const override
    {
        const QRectF natural = QPlainTextDocumentLayout::blockBoundingRect(block);
        if (!block.isValid() || !block.isVisible())
            return natural;
        const qreal step = stepOf(block);
        qreal height = std::max(1, block.layout()->lineCount()) * step;
        if (!block.next().isValid())
            height += document()->documentMargin();
        return QRectF(0, 0, natural.width(), height);
    }

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override
    {
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        space();
    }

private:
    qreal em() const
    {
        const QFont font = document()->defaultFont();
        return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    }

    qreal stepOf(const QTextBlock& block) const
    {
        const bool empty = block.length() <= 1;
        return (empty ? TextBox::kEmptyLineStep : TextBox::kLineStep) * em();
    }

    // Lays out every block not laid out yet and puts its lines on their steps.
    void space()
    {
        const qreal em = this->em();
        const qreal margin = document()->documentMargin();
        // Ideographs fill the em box from 0.88 em above the baseline to 0.12 em below.
        for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
            if (!block.isVisible())
                continue;
            ensureBlockLayout(block);
            QTextLayout* layout = block.layout();
            const qreal step = stepOf(block);
            const qreal baseline = (step - em) / 2 + 0.88 * em;
            for (int i = 0; i < layout->lineCount(); ++i) {
                QTextLine line = layout->lineAt(i);
                line.setPosition(QPointF(margin, i * step + baseline - line.ascent()));
            }
        }
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
