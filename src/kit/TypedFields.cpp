#include "kit/TypedFields.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QVariant>

namespace kit {

namespace {

// An amber wash over the field's own background: readable on light and dark
// desktops alike, and clearly not an error's red.
QColor Tint(const QColor& base) {
    const QColor amber(255, 176, 0);
    return QColor((base.red() * 3 + amber.red()) / 4, (base.green() * 3 + amber.green()) / 4,
                  (base.blue() * 3 + amber.blue()) / 4);
}

} // namespace

void ShowFieldNote(QLineEdit* field, const QString& note) {
    static const char* const kUntinted = "kitUntintedPalette";
    const QVariant untinted = field->property(kUntinted);
    if (note.isEmpty()) {
        if (untinted.isValid()) {
            field->setPalette(untinted.value<QPalette>());
            field->setProperty(kUntinted, QVariant());
            field->setToolTip(QString());
        }
        return;
    }
    if (!untinted.isValid()) {
        field->setProperty(kUntinted, field->palette());
        QPalette tinted = field->palette();
        tinted.setColor(QPalette::Base, Tint(tinted.color(QPalette::Base)));
        field->setPalette(tinted);
    }
    field->setToolTip(note);
}

TypedFields::TypedFields(QObject* owner, std::function<void()> recompute)
    : QObject(owner), recompute_(std::move(recompute)) {}

void TypedFields::Watch(const std::vector<QLineEdit*>& fields) {
    for (QLineEdit* field : fields) {
        held_.try_emplace(field);
        connect(field, &QLineEdit::textEdited, this, [this, field] { Edited(field); });
        connect(field, &QLineEdit::editingFinished, this, [this, field] { Finished(field); });
        // A write from code (a spinner, a preset, a script) ends the typing:
        // what it wrote is the field's value.
        // A write from code into any field (a script's `set`, a preset) also
        // means the person has moved on from the field typed in before; the
        // computation's own writes do not.
        connect(field, &QLineEdit::textChanged, this, [this, field] {
            if (Typing(field) || running_ > 0) {
                return;
            }
            for (auto& [other, held] : held_) {
                if (other == field || Typing(other)) {
                    other->setModified(false);
                    held.corrected = false;
                    held.noResults = false;
                    held.messages.clear();
                    ShowHeld(other);
                }
            }
        });
        // Tab finishes the field even where the focus cannot move (a window
        // not yet active).
        field->installEventFilter(this);
    }
}

void TypedFields::Results(const std::vector<QWidget*>& results) {
    for (QWidget* result : results) {
        results_.emplace_back(result);
    }
}

bool TypedFields::StillBecomingANumber(const QString& text) {
    // A sign, digits with a "." or "," and a fraction, an exponent's start:
    // every step of typing a number, a comma-decimal desktop's included.
    static const QRegularExpression start(
        QStringLiteral(R"(^\s*[+-]?((\d+([.,]\d*)?|[.,]\d+)([eE][+-]?\d*)?|[.,])?$)"));
    double value = 0;
    return !common::TryParseFloat(text.toStdString(), value) && start.match(text).hasMatch();
}

namespace {

QString ShownText(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* field = qobject_cast<const QLineEdit*>(widget)) {
        return field->text();
    }
    return {};
}

void ShowQuietly(QWidget* widget, const QString& text) {
    const QSignalBlocker quiet(widget);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        field->setText(text);
    }
}

} // namespace

void TypedFields::ShowNoResults() {
    if (resultsBefore_.empty()) {
        for (const QPointer<QWidget>& result : results_) {
            resultsBefore_.push_back(result != nullptr ? ShownText(result) : QString());
        }
    }
    for (const QPointer<QWidget>& result : results_) {
        if (result != nullptr) {
            ShowQuietly(result, QStringLiteral("\u2014"));
        }
    }
}

// The dashes go before each run: what the run writes replaces the texts, and
// what it leaves alone (a head's figures in the other mode) reads as before.
void TypedFields::PutResultsBack() {
    for (std::size_t i = 0; i < resultsBefore_.size() && i < results_.size(); ++i) {
        if (results_[i] != nullptr) {
            ShowQuietly(results_[i], resultsBefore_[i]);
        }
    }
    resultsBefore_.clear();
}

bool TypedFields::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            Finished(static_cast<QLineEdit*>(watched));
        }
    }
    return QObject::eventFilter(watched, event);
}

bool TypedFields::Typing(const QLineEdit* field) { return field->isModified(); }

QString TypedFields::Text(const QLineEdit* field) const {
    const auto found = held_.find(const_cast<QLineEdit*>(field));
    if (found != held_.end() && found->second.corrected && Typing(field)) {
        return found->second.used;
    }
    return field->text();
}

void TypedFields::Write(QLineEdit* field, const QString& text) { Put(field, text, true); }

void TypedFields::Show(QWidget* widget, const QString& text) {
    if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        Put(field, text, false);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    }
}

void TypedFields::Put(QLineEdit* field, const QString& text, bool recompute) {
    if (Typing(field) && held_.count(field) != 0) {
        Held& held = held_[field];
        const bool changed = text == field->text() ? held.corrected : !held.corrected || held.used != text;
        held.corrected = text != field->text();
        held.used = text;
        ShowHeld(field);
        if (changed && recompute) {
            recompute_();
        }
        return;
    }
    if (field->text() == text) {
        return;
    }
    if (recompute) {
        field->setText(text);
    } else {
        const QSignalBlocker quiet(field);
        field->setText(text);
    }
}

QLineEdit* TypedFields::TypingField() const {
    for (const auto& [field, held] : held_) {
        if (Typing(field)) {
            return field;
        }
    }
    return nullptr;
}

bool TypedFields::Run(const std::function<bool()>& compute) {
    ++running_;
    const auto ran = qScopeGuard([this] { --running_; });
    PutResultsBack();
    QLineEdit* typing = TypingField();
    if (typing == nullptr) {
        return compute();
    }
    // Each run says afresh what holds now.
    QStringList messages;
    const common::MessagePresenter shown =
        common::SetMessagePresenter([&messages](common::MessageKind, const QString& text) { messages << text; });
    bool done = false;
    try {
        done = compute();
    } catch (...) {
        common::SetMessagePresenter(shown);
        throw;
    }
    common::SetMessagePresenter(shown);
    // A text on its way to a number has no figures yet and nothing to say; a
    // rule's correction (an unreadable field refilled) can let the next run of
    // the same keystroke compute, so this holds until the next key.
    Held& held = held_[typing];
    held.noResults = held.noResults || ((!done || !messages.isEmpty()) && StillBecomingANumber(typing->text()));
    if (held.noResults) {
        ShowNoResults();
        messages.clear();
    }
    held.messages = messages;
    ShowHeld(typing);
    return done;
}

void TypedFields::Edited(QLineEdit* field) {
    // A new keystroke: the rules are applied to the new text afresh.
    held_[field].corrected = false;
    held_[field].noResults = false;
}

void TypedFields::Finished(QLineEdit* field) {
    if (!Typing(field)) {
        return;
    }
    // The finished text is read as if it had been written whole: the rules
    // write their corrections into it now and say once what still holds.
    field->setModified(false);
    Held& held = held_[field];
    held.corrected = false;
    held.noResults = false;
    held.messages.clear();
    ShowHeld(field);
    recompute_();
}

void TypedFields::ShowHeld(QLineEdit* field) {
    Held& held = held_[field];
    const bool show = Typing(field) && ((held.corrected && !held.noResults) || !held.messages.isEmpty());
    QStringList tip;
    if (show && held.corrected && !held.noResults) {
        tip << (held.used.isEmpty() ? QStringLiteral("computed with the field empty")
                                    : QStringLiteral("computed with %1").arg(held.used));
    }
    if (show) {
        tip << held.messages;
    }
    if (show && !held.tinted) {
        held.palette = field->palette();
        held.toolTip = field->toolTip();
        QPalette tinted = held.palette;
        tinted.setColor(QPalette::Base, Tint(held.palette.color(QPalette::Base)));
        field->setPalette(tinted);
        held.tinted = true;
    } else if (!show && held.tinted) {
        field->setPalette(held.palette);
        field->setToolTip(held.toolTip);
        held.tinted = false;
    }
    if (show) {
        field->setToolTip(tip.join(QLatin1Char('\n')));
    }
}

} // namespace kit
