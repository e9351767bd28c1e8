#include "kit/Remembered.h"

#include "common/Messages.h"

#include <QHash>
#include <QSettings>
#include <memory>

namespace kit {

namespace {

struct Memory {
    QHash<QString, QVariant> run;
    std::unique_ptr<QSettings> kept;
};

Memory& TheMemory() {
    static Memory memory;
    return memory;
}

} // namespace

void KeepBetweenRuns() {
    TheMemory().kept =
        std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tormalind"),
                                    QString::fromLatin1(common::kApplicationTitle));
}

QVariant Recalled(const QString& key) {
    const Memory& memory = TheMemory();
    return memory.kept ? memory.kept->value(key) : memory.run.value(key);
}

void Remember(const QString& key, const QVariant& value) {
    Memory& memory = TheMemory();
    memory.run.insert(key, value);
    if (memory.kept) {
        memory.kept->setValue(key, value);
    }
}

} // namespace kit
