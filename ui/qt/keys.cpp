#include "ui/qt/keys.h"

#include <QStringList>

#include <optional>

namespace quillory {

namespace {

// The learner's key for a key code; keypad digits count as digits. Keys held with
// Ctrl, Alt or Meta are none of them.
std::optional<Key> learnerKey(int key, Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) != Qt::NoModifier)
        return std::nullopt;
    if (key >= Qt::Key_1 && key <= Qt::Key_5)
        return static_cast<Key>(static_cast<int>(Key::Digit1) + (key - Qt::Key_1));
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return Key::Return;
    if (key == Qt::Key_Escape)
        return Key::Escape;
    return std::nullopt;
}

QString keyName(Key key)
{
    switch (key) {
    case Key::Return:
        return QStringLiteral("Enter");
    case Key::Escape:
        return QStringLiteral("Esc");
    default:
        return QString::number(static_cast<int>(key) - static_cast<int>(Key::Digit1) + 1);
    }
}

} // namespace

std::string keyTarget(const Screen& screen, int key, Qt::KeyboardModifiers modifiers)
{
    const std::optional<Key> learner = learnerKey(key, modifiers);
    return learner ? screen.keyTarget(*learner) : std::string();
}

QString keyHint(const Screen& screen, const std::string& button)
{
    QStringList names;
    for (Key key : screen.keysOf(button))
        names << keyName(key);
    return names.join(QStringLiteral("、"));
}

bool hasTextActions(const Screen& screen)
{
    const Control* box = screen.textBox();
    return box != nullptr && box->name == kConversationBox;
}

TextAction textAction(const Screen& screen, int key, Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) != Qt::NoModifier || !hasTextActions(screen))
        return TextAction::None;
    if (key == Qt::Key_R)
        return TextAction::ReadAloud;
    if (key == Qt::Key_H)
        return TextAction::History;
    return TextAction::None;
}

QString keyStrip(const Screen& screen)
{
    bool enter = false;
    bool digits = false;
    bool escape = false;
    for (const Control& control : screen.controls()) {
        for (Key key : screen.keysOf(control.name)) {
            enter = enter || key == Key::Return;
            digits = digits || (key >= Key::Digit1 && key <= Key::Digit5);
            escape = escape || key == Key::Escape;
        }
    }
    QStringList parts;
    if (enter)
        parts << QStringLiteral("Enter：次へ");
    if (digits)
        parts << QStringLiteral("１～５：答える");
    if (hasTextActions(screen))
        parts << QStringLiteral("▼：続き") << QStringLiteral("H：履歴")
              << QStringLiteral("R：読み上げ");
    if (escape)
        parts << QStringLiteral("Esc：戻る");
    parts << QStringLiteral("Ctrl＋／－：拡大") << QStringLiteral("F11：全画面");
    return parts.join(QStringLiteral("　"));
}

QString readAloudEntry()
{
    return QStringLiteral("英文を読み上げる");
}

QString historyEntry()
{
    return QStringLiteral("会話の履歴");
}

QString textBoxHint()
{
    return QStringLiteral("キー：R ") + readAloudEntry() +
           QStringLiteral("（もう一度で止める）、H ") + historyEntry() +
           QStringLiteral("（右クリックのメニューにもあります）");
}

} // namespace quillory
