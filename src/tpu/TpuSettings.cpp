#include "tpu/TpuSettings.h"

#include "common/NumberFormat.h"
#include "tpu/TpuPresets.h"

#include <string_view>

namespace tpu {
namespace {

// The place of `text` among `words`, or -1.
template <typename Words, typename WordOf> int Find(const Words& words, std::string_view text, WordOf wordOf) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (std::string_view(wordOf(words[i])) == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool Readable(Kind kind, const std::string& text) {
    std::int32_t whole = 0;
    double decimal = 0.0;
    switch (kind) {
    case Kind::Whole:
        return common::TryParseInt(text, whole);
    case Kind::Decimal:
        return common::TryParseFloat(text, decimal);
    case Kind::Text:
        return true;
    }
    return false;
}

// A control character (C0, DEL, C1) or a line or paragraph separator becomes
// one blank.
std::string OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = [&](std::size_t ahead) {
            return i + ahead < text.size() ? static_cast<unsigned char>(text[i + ahead]) : 0;
        };
        if (byte < 0x20 || byte == 0x7F) {
            line += ' ';
        } else if (byte == 0xC2 && next(1) >= 0x80 && next(1) < 0xA0) {
            line += ' ';
            i += 1;
        } else if (byte == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9)) {
            line += ' ';
            i += 2;
        } else {
            line += text[i];
        }
    }
    return line;
}

} // namespace

std::vector<std::string> SettingsFileLines(const std::function<std::string(Field field)>& textOf,
                                           const SettingsChoices& choices) {
    std::vector<std::string> lines;
    for (const SettingsLine& line : kSettingsLines) {
        lines.push_back(OneLine(textOf(line.field)));
    }
    lines.emplace_back(kSonarPresets.at(choices.sonar).item);
    lines.emplace_back(kMotionPresets.at(choices.motion).item);
    lines.emplace_back(kHeadingPresets.at(choices.heading).item);
    lines.emplace_back(kGnssModeWords.at(static_cast<std::size_t>(choices.gnssMode)));
    lines.emplace_back(kAidingWords.at(static_cast<std::size_t>(choices.aiding)));
    lines.emplace_back(kAntennaWords.at(static_cast<std::size_t>(choices.antenna)));
    if (choices.referenceSonar) {
        lines.emplace_back(kSonarPresets.at(*choices.referenceSonar).item);
    }
    return lines;
}

common::FileResult ReadSettingsLines(const std::string& fileName, const std::vector<std::string>& lines,
                                     bool endsWithLineEnd, LoadedSettings& loaded) {
    const auto fault = [&](std::size_t index, const std::string& what) {
        return common::FileResult::Failed(QString::fromStdString("Cannot load \"" + fileName + "\": line " +
                                                                 std::to_string(index + 1) + " " + what + "."));
    };
    const auto quoted = [](const std::string& text) { return "\"" + common::ShowControls(text) + "\""; };
    if (!lines.empty() && !endsWithLineEnd) {
        return fault(lines.size() - 1, "has no line end: the file was cut short");
    }
    for (std::size_t index = 0; index < kSettingsLines.size(); ++index) {
        if (index >= lines.size()) {
            return fault(index, "is missing: a settings file has " + std::to_string(kSettingsLines.size()) + " lines");
        }
        const SettingsLine& line = kSettingsLines[index];
        const Kind kind = RowOf(line.field).kind;
        if (line.read && !Readable(kind, lines[index])) {
            return fault(index,
                         quoted(lines[index]) + " is not a " + (kind == Kind::Whole ? "whole number" : "number"));
        }
        loaded.texts[index] = lines[index];
    }
    // A file of the forty lines alone leaves the lists and modes as they are;
    // one that has some of the choices after them was cut short.
    const std::size_t first = kSettingsLines.size();
    if (lines.size() == first) {
        return common::FileResult::Done();
    }
    if (lines.size() < first + kChoiceLines) {
        return fault(lines.size(), "is missing: the choices after line " + std::to_string(first) + " are " +
                                       std::to_string(kChoiceLines) + " lines");
    }
    SettingsChoices choices;
    std::optional<common::FileResult> refused;
    const auto choose = [&](std::size_t offset, int found, const char* what, auto& into) {
        if (found < 0) {
            refused = fault(first + offset, quoted(lines[first + offset]) + " is not " + what);
            return false;
        }
        into = static_cast<std::remove_reference_t<decltype(into)>>(found);
        return true;
    };
    const auto item = [](const auto& preset) { return preset.item; };
    const auto word = [](std::string_view text) { return text; };
    if (!choose(0, Find(kSonarPresets, lines[first], item), "a sonar of the list", choices.sonar) ||
        !choose(1, Find(kMotionPresets, lines[first + 1], item), "a motion sensor of the list", choices.motion) ||
        !choose(2, Find(kHeadingPresets, lines[first + 2], item), "a heading sensor of the list", choices.heading) ||
        !choose(3, Find(kGnssModeWords, lines[first + 3], word), "a GNSS mode (RTK or DGNSS)", choices.gnssMode) ||
        !choose(4, Find(kAidingWords, lines[first + 4], word), "a GNSS aiding (RTK or DGNSS)", choices.aiding) ||
        !choose(5, Find(kAntennaWords, lines[first + 5], word), "an antenna separation", choices.antenna)) {
        return *refused;
    }
    const std::size_t reference = kReferenceSonarLine - 1;
    if (lines.size() > reference) {
        const int row = Find(kSonarPresets, lines[reference], item);
        if (row < 0 || !kSonarPresets[static_cast<std::size_t>(row)].applies) {
            return fault(reference, quoted(lines[reference]) + " is not a sonar with figures of its own");
        }
        choices.referenceSonar = static_cast<std::size_t>(row);
    }
    loaded.choices = choices;
    return common::FileResult::Done();
}

} // namespace tpu
