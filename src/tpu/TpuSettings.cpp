#include "tpu/TpuSettings.h"

namespace tpu {

QStringList SettingsFileLines(const std::function<QString(std::string_view field)>& textOf) {
    QStringList lines;
    for (const SettingsLine& line : kSettingsLines) {
        lines << textOf(line.field);
    }
    return lines;
}

QString LoadSettingsLines(const QStringList& lines,
                          const std::function<void(std::string_view field, const QString& text)>& write) {
    for (qsizetype index = 0; index < static_cast<qsizetype>(kSettingsLines.size()); ++index) {
        if (index >= lines.size()) {
            // The place of the first missing line, counted from 0.
            return QStringLiteral("List index out of bounds (%1)").arg(index);
        }
        const SettingsLine& line = kSettingsLines[static_cast<std::size_t>(index)];
        if (line.loaded) {
            write(line.field, lines[index].left(kSettingsLineLimit));
        }
    }
    return {};
}

} // namespace tpu
