// Number fields as a surveyor types them. A field being typed in (changed by
// the keyboard and not yet finished) is never rewritten under the fingers: the
// computation runs at every keystroke with the value the window's rules make
// of the typed text (clamped, raised to the altitude, an empty sector as 130),
// while the field keeps showing what was typed, tinted, with "computed with
// 10" in its tooltip. The corrected text is written when the field is
// finished: Enter, Tab or the focus leaving it. A spinner step or a script's
// `set` writes the field from code and is a finished field at once.
//
// Messages wait too: what a computation run during typing would show in a box
// (a text that is no number yet, "No coverage at this altitude!") is held
// beside the field, in its tooltip. Finishing runs the computation once more
// with the field's text as if it had been written whole: it writes the
// corrected text and shows once what still holds.
//
// A text that is no number yet but can still become one ("-", ".", "1e-",
// "55," or the field emptied) shows no message while it is typed: where the
// computation cannot use it (or only with a message), the window's results
// read "—" until it is a number, rather than figures of no typed value.
//
// A window reads its watched fields through Text(), writes inputs through
// Write() and results and corrections through Show(), and runs its
// computation inside Run(). It holds its TypedFields as a
// member, gone before the fields are: a field that has the focus when the
// window is destroyed says it is finished, and must find no one to compute.
#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

class QLineEdit;

namespace kit {

class TypedFields : public QObject {
    Q_OBJECT
public:
    // `recompute` asks the window for a run (a kit::Recompute request).
    TypedFields(QObject* owner, std::function<void()> recompute);

    void Watch(const std::vector<QLineEdit*>& fields);

    // The labels and fields that show the window's results.
    void Results(const std::vector<QWidget*>& results);

    // Whether the text is no number but the start of one.
    static bool StillBecomingANumber(const QString& text);

    // Whether a person is typing in the field now.
    static bool Typing(const QLineEdit* field);

    // The text a computation reads: the corrected one while the field is being
    // typed and a rule corrected it, the field's own text otherwise.
    QString Text(const QLineEdit* field) const;

    // The two ways a window writes a field from code.
    //
    // Write: an input, written by an action (a preset, a button, the depth's
    // controls moving together): the window computes again with it, once for
    // the action when its writes are gathered in a kit::Recompute batch.
    // While the field is being typed in, the text is kept as the value
    // computed with until the field is finished. Writing the text a field
    // already holds does nothing.
    void Write(QLineEdit* field, const QString& text);

    // Show: what a run computed with, which asks for no further run: a result
    // (a label or a field), or an input's correction that the run already
    // uses (a fallback for a text that cannot be read, a value pulled into
    // range). The field's change notification is held back; an input being
    // typed in keeps the text beside it until it is finished.
    void Show(QWidget* widget, const QString& text);

    // Runs one computation; while a watched field is being typed, the boxes it
    // would show are held beside that field instead.
    bool Run(const std::function<bool()>& compute);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Held {
        QString used; // the corrected text computed with; empty: none
        bool corrected = false;
        bool noResults = false; // the results read "—": the text is no number
        QStringList messages;
        QPalette palette; // the field's own look, put back when finished
        QString toolTip;
        bool tinted = false;
    };
    void Put(QLineEdit* field, const QString& text, bool recompute);
    void Edited(QLineEdit* field);
    void Finished(QLineEdit* field);
    void ShowHeld(QLineEdit* field);
    QLineEdit* TypingField() const;
    void ShowNoResults();
    void PutResultsBack();

    std::function<void()> recompute_;
    int running_ = 0; // computations under way
    std::map<QLineEdit*, Held> held_;
    std::vector<QPointer<QWidget>> results_;
    std::vector<QString> resultsBefore_; // their texts under the dashes; empty: none shown
};

// A note beside a field that is read but not as typed (a value taken as 0):
// the field tinted as a typed field is, the note in its tooltip. An empty
// note takes the tint away.
void ShowFieldNote(QLineEdit* field, const QString& note);

} // namespace kit
