#include "ui/effect.h"

#include <algorithm>

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

std::vector<std::string> effectProblems(const Effect& effect, int choiceCount,
                                        const std::vector<std::string>& pictures)
{
    std::vector<std::string> problems;
    switch (effect.kind) {
    case EffectKind::SetText:
    case EffectKind::ShowForm:
    case EffectKind::HideForm:
        if (effect.lines.size() != 1)
            problems.push_back("effect needs exactly one text");
        break;
    case EffectKind::WriteLines:
        if (effect.lines.empty())
            problems.push_back("WriteLines without lines");
        break;
    case EffectKind::ShowChoices:
    case EffectKind::HideChoices:
        for (int k : effect.choices) {
            if (k < 1 || k > choiceCount)
                problems.push_back("answer button " + std::to_string(k) + " the screen lacks");
        }
        break;
    case EffectKind::ShowPicture:
        if (effect.lines.size() != 1 ||
            std::find(pictures.begin(), pictures.end(), effect.text()) == pictures.end())
            problems.push_back("picture " + (effect.lines.empty() ? std::string() : effect.text()) +
                               " is not among the assets");
        break;
    case EffectKind::ShowAgain:
    case EffectKind::HideAgain:
    case EffectKind::ShowMove:
    case EffectKind::HideMove:
        break;
    }
    return problems;
}

} // namespace quillory
