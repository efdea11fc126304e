#include "app/navigator.h"

#include "app/learning.h"

#include <stdexcept>
#include <utility>

namespace quillory {

Navigator::Navigator(std::filesystem::path programFolder) : programFolder_(std::move(programFolder))
{
}

void Navigator::define(std::string name, Factory factory)
{
    factories_[std::move(name)] = std::move(factory);
}

bool Navigator::defines(std::string_view name) const
{
    return factories_.find(name) != factories_.end();
}

void Navigator::start(std::string_view screen)
{
    showForm(screen);
}

Screen& Navigator::obtain(std::string_view name)
{
    if (Screen* s = screen(name))
        return *s;
    auto it = factories_.find(name);
    if (it == factories_.end())
        throw std::invalid_argument("no screen named " + std::string(name));
    screens_.push_back(it->second(*this));
    Screen& created = *screens_.back();
    created.load();
    return created;
}

void Navigator::showForm(std::string_view name)
{
    if (ended_)
        return;
    Screen& shown = obtain(name);
    shown.visible_ = true;
    if (learning_ != nullptr)
        learning_->entered(shown);
    shown.shown();
}

void Navigator::answered(const AnswerNote& note)
{
    if (learning_ != nullptr)
        learning_->answered(note);
}

void Navigator::hideForm(std::string_view name)
{
    if (ended_)
        return;
    obtain(name).visible_ = false;
}

void Navigator::endProgram()
{
    if (ended_)
        return;
    ended_ = true;
    for (auto& s : screens_)
        s->visible_ = false;
    if (onEnd_)
        onEnd_();
}

const Screen* Navigator::screen(std::string_view name) const
{
    for (const auto& s : screens_) {
        if (s->name() == name)
            return s.get();
    }
    return nullptr;
}

Screen* Navigator::screen(std::string_view name)
{
    return const_cast<Screen*>(std::as_const(*this).screen(name));
}

const Screen* Navigator::visibleScreen() const
{
    for (const auto& s : screens_) {
        if (s->visible())
            return s.get();
    }
    return nullptr;
}

Screen* Navigator::visibleScreen()
{
    return const_cast<Screen*>(std::as_const(*this).visibleScreen());
}

std::vector<std::string> Navigator::created() const
{
    std::vector<std::string> names;
    names.reserve(screens_.size());
    for (const auto& s : screens_)
        names.push_back(s->name());
    return names;
}

void Navigator::click(std::string_view control)
{
    Screen* s = visibleScreen();
    if (s == nullptr)
        return;
    s->click(control);
    if (learning_ != nullptr)
        learning_->progressed(*s);
}

} // namespace quillory
