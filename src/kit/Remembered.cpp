#include "kit/Remembered.h"

#include "common/Messages.h"

#include <QHash>
#include <QSettings>
#include <QWidget>
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

bool KeepingBetweenRuns() { return TheMemory().kept != nullptr; }

void WriteRemembered() {
    if (const auto& kept = TheMemory().kept) {
        kept->sync();
    }
}

void NotRemembered(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) {
        control->setProperty("notRemembered", true);
    }
}

bool Remembered(const QWidget* control) { return !control->property("notRemembered").toBool(); }

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
