#include "kit/BackgroundWork.h"

#include <QEvent>
#include <QWidget>

namespace kit {
namespace {

// Decided as the close arrives, from what runs at that moment: the close
// deletes a window that has the attribute once it is hidden.
class CloseWatch : public QObject {
public:
    explicit CloseWatch(QWidget* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Close) {
            const auto* work = dynamic_cast<const BackgroundWork*>(window_);
            window_->setAttribute(Qt::WA_DeleteOnClose, work == nullptr || !work->WorksInBackground());
        }
        return false;
    }

private:
    QWidget* window_;
};

} // namespace

void HideWhileWorking(QWidget* window) { window->installEventFilter(new CloseWatch(window)); }

} // namespace kit
