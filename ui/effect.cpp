#include "ui/effect.h"

#include <utility>

namespace quillory {

namespace {

Effect withText(EffectKind kind, std::string text)
{
    Effect e;
    e.kind = kind;
    e.lines.push_back(std::move(text));
    return e;
}

Effect withChoices(EffectKind kind, std::vector<int> choices)
{
    Effect e;
    e.kind = kind;
    e.choices = std::move(choices);
    return e;
}

Effect bare(EffectKind kind)
{
    Effect e;
    e.kind = kind;
    return e;
}

} // namespace

const std::string& Effect::text() const
{
    static const std::string empty;
    return lines.empty() ? empty : lines.front();
}

Effect SetText(std::string text)
{
    return withText(EffectKind::SetText, std::move(text));
}

Effect WriteLines(std::vector<std::string> lines)
{
    Effect e;
    e.kind = EffectKind::WriteLines;
    e.lines = std::move(lines);
    return e;
}

Effect ShowChoices(std::vector<int> choices)
{
    return withChoices(EffectKind::ShowChoices, std::move(choices));
}

Effect HideChoices(std::vector<int> choices)
{
    return withChoices(EffectKind::HideChoices, std::move(choices));
}

Effect ShowPicture(std::string file)
{
    return withText(EffectKind::ShowPicture, std::move(file));
}
Effect ShowForm(std::string screen)
{
    return withText(EffectKind::ShowForm, std::move(screen));
}
Effect HideForm(std::string screen)
{
    return withText(EffectKind::HideForm, std::move(screen));
}
Effect ShowAgain()
{
    return bare(EffectKind::ShowAgain);
}
Effect HideAgain()
{
    return bare(EffectKind::HideAgain);
}
Effect ShowMove()
{
    return bare(EffectKind::ShowMove);
}
Effect HideMove()
{
    return bare(EffectKind::HideMove);
}

} // namespace quillory
