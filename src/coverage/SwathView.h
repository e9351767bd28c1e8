// The coverage calculator's swath picture on screen: the water, the seabed,
// the head bars and the hatched fans of the last run, in the picture's own
// pixels. Promoted in the window's form, 501 × 200 pixels.
#pragma once

#include "coverage/SwathPicture.h"

#include <QWidget>

namespace coverage {

class SwathView : public QWidget {
    Q_OBJECT
public:
    explicit SwathView(QWidget* parent = nullptr);

    void SetPicture(const SwathPicture& picture);
    const SwathPicture& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SwathPicture picture_;
};

} // namespace coverage
