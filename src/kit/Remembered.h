// What the suite remembers from one run to the next (the folder last used for
// each kind of file), kept in the user's configuration folder through
// QSettings. Only the suite's own start keeps it between runs: the driver, the
// tests and the benchmarks remember within their run alone, so every script
// and test begins from the start values and leaves nothing behind.
#pragma once

#include <QString>
#include <QVariant>
#include <initializer_list>

class QWidget;

namespace kit {

// From now on, what is remembered is read from and written to the user's
// configuration folder.
void KeepBetweenRuns();
bool KeepingBetweenRuns();

// The value remembered under `key`, or an invalid QVariant.
QVariant Recalled(const QString& key);
void Remember(const QString& key, const QVariant& value);

// Writes what is remembered to the configuration folder now, for an end of
// the run that skips the application's own.
void WriteRemembered();

// Controls whose state is never brought back in a new run: a port switched
// on, a capture started, a continuous send. A window opening must not act.
void NotRemembered(std::initializer_list<QWidget*> controls);
bool Remembered(const QWidget* control);

} // namespace kit
