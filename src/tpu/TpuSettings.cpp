#include "tpu/TpuSettings.h"

#include "common/NumberFormat.h"
#include "common/TextFile.h"
#include "tpu/TpuPresets.h"

namespace tpu {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The place of `text` among `words`, or -1.
template <typename Words, typename WordOf> int Find(const Words& words, const QString& text, WordOf wordOf) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (Text(wordOf(words[i])) == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool Readable(LineKind kind, const QString& text) {
    const std::string bytes = text.toStdString();
    std::int32_t whole = 0;
    double decimal = 0.0;
    switch (kind) {
    case LineKind::Whole:
        return common::TryParseInt(bytes, whole);
    case LineKind::Decimal:
        return common::TryParseFloat(bytes, decimal);
    case LineKind::Text:
    case LineKind::Ignored:
        return true;
    }
    return false;
}

} // namespace

QStringList SettingsFileLines(const std::function<QString(SettingsField field)>& textOf,
                              const SettingsChoices& choices) {
    QStringList lines;
    for (const SettingsLine& line : kSettingsLines) {
        QString text = textOf(line.field);
        for (QChar& ch : text) {
            if (ch.category() == QChar::Other_Control || ch.category() == QChar::Separator_Line ||
                ch.category() == QChar::Separator_Paragraph) {
                ch = QLatin1Char(' ');
            }
        }
        lines << text;
    }
    lines << Text(kSonarPresets.at(choices.sonar).item) << Text(kMotionPresets.at(choices.motion).item)
          << Text(kHeadingPresets.at(choices.heading).item) << Text(kGnssModeWords.at(choices.gnssMode))
          << Text(kAidingWords.at(choices.aiding)) << Text(kAntennaWords.at(choices.antenna));
    if (choices.referenceSonar) {
        lines << Text(kSonarPresets.at(*choices.referenceSonar).item);
    }
    return lines;
}

LoadedSettings ReadSettingsLines(const QString& fileName, const QStringList& lines, bool endsWithLineEnd) {
    LoadedSettings loaded;
    const auto fault = [&](qsizetype index, const QString& what) {
        loaded.error = QStringLiteral("Cannot load \"%1\": line %2 %3.").arg(fileName).arg(index + 1).arg(what);
        return loaded;
    };
    if (!lines.isEmpty() && !endsWithLineEnd) {
        return fault(lines.size() - 1, QStringLiteral("has no line end: the file was cut short"));
    }
    for (std::size_t index = 0; index < kSettingsLines.size(); ++index) {
        const auto at = static_cast<qsizetype>(index);
        if (at >= lines.size()) {
            return fault(at, QStringLiteral("is missing: a settings file has %1 lines").arg(kSettingsLines.size()));
        }
        const SettingsLine& line = kSettingsLines[index];
        if (!Readable(line.kind, lines[at])) {
            return fault(at, QStringLiteral("\"%1\" is not a %2")
                                 .arg(common::ShowControls(lines[at]), line.kind == LineKind::Whole
                                                                           ? QStringLiteral("whole number")
                                                                           : QStringLiteral("number")));
        }
        loaded.texts[index] = lines[at];
    }
    // A file of the forty lines alone leaves the lists and modes as they are;
    // one that has some of the choices after them was cut short.
    const auto first = static_cast<qsizetype>(kSettingsLines.size());
    if (lines.size() == first) {
        return loaded;
    }
    if (lines.size() < first + static_cast<qsizetype>(kChoiceLines)) {
        return fault(lines.size(),
                     QStringLiteral("is missing: the choices after line %1 are %2 lines").arg(first).arg(kChoiceLines));
    }
    SettingsChoices choices;
    const auto choose = [&](qsizetype offset, int found, const char* what, auto& into) {
        if (found < 0) {
            fault(first + offset, QStringLiteral("\"%1\" is not %2")
                                      .arg(common::ShowControls(lines[first + offset]), QString::fromLatin1(what)));
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
        return loaded;
    }
    const auto reference = static_cast<qsizetype>(kReferenceSonarLine - 1);
    if (lines.size() > reference) {
        const int row = Find(kSonarPresets, lines[reference], item);
        if (row < 0 || !kSonarPresets[static_cast<std::size_t>(row)].applies) {
            fault(reference, QStringLiteral("\"%1\" is not a sonar with figures of its own")
                                 .arg(common::ShowControls(lines[reference])));
            return loaded;
        }
        choices.referenceSonar = static_cast<std::size_t>(row);
    }
    loaded.choices = choices;
    return loaded;
}

} // namespace tpu
