#include "ui/json.h"

#include <cstdio>
#include <optional>
#include <string>

namespace quillory {

std::string jsonQuoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string jsonBoolean(bool value)
{
    return value ? "true" : "false";
}

const char* controlKindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button:
        return "button";
    case ControlKind::Text:
        return "text";
    case ControlKind::Label:
        return "label";
    case ControlKind::Picture:
        return "picture";
    }
    return "unknown";
}

std::string recordFields(const Control& control)
{
    std::string out;
    if (control.addition)
        out += ", \"addition\": true";
    if (const std::optional<Progress>& p = control.progress) {
        out += ", \"progress\": {\"reached\": " + std::to_string(p->reached) +
               ", \"last\": " + std::to_string(p->last) +
               ", \"finished\": " + jsonBoolean(p->finished) +
               ", \"firstTryRight\": " + std::to_string(p->firstTryRight) +
               ", \"firstTryAsked\": " + std::to_string(p->firstTryAsked) + "}";
    }
    if (control.due)
        out += ", \"due\": " + std::to_string(*control.due);
    return out;
}

} // namespace quillory
