// Who made the suite and how a surveyor reaches them, as the reports print it:
// the coverage and line plan reports close with it, the TPU report's footer
// carries it on one line.
#pragma once

#include <QString>
#include <QStringList>

namespace common {

inline constexpr const char* kMakerName = "Tormalind ApS";
inline constexpr const char* kMakerAddress = "Havnegade 12, 9900 Frederikshavn";
inline constexpr const char* kMakerCountry = "Denmark";
inline constexpr const char* kMakerTelephone = "Tel. +45 12 34 56 78";
inline constexpr const char* kMakerMail = "survey@tormalind.example";
inline constexpr const char* kMakerWeb = "tormalind.example";

// The address, country, telephone, mail and web lines under a report's maker
// line, each indented by `indent` blanks.
inline QStringList MakerContactLines(int indent) {
    const QString blanks(indent, QLatin1Char(' '));
    QStringList lines;
    for (const char* line : {kMakerAddress, kMakerCountry, kMakerTelephone, kMakerMail, kMakerWeb}) {
        lines << blanks + QString::fromUtf8(line);
    }
    return lines;
}

// All of it on one line, for a page footer.
inline QString MakerContactLine() {
    return QStringLiteral("%1 - %2, %3 - %4 - %5")
        .arg(QString::fromUtf8(kMakerName), QString::fromUtf8(kMakerAddress), QString::fromUtf8(kMakerCountry),
             QString::fromUtf8(kMakerTelephone), QString::fromUtf8(kMakerWeb));
}

} // namespace common
