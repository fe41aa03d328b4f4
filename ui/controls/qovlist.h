// A drop-down list of the main window: closed, it shows its whole current
// item (a narrow arrow leaves the text room, so that "11(闰)" fits 56
// pixels); open, a list of at most MaxVisible items that scrolls, right
// below the box, instead of a menu as tall as the screen.
#pragma once

#include <QComboBox>

class CQovList : public QComboBox {
    Q_OBJECT

public:
    static constexpr int MaxVisible = 12;
    static constexpr int ArrowWidth = 13;  // pixels, frame included

    explicit CQovList(QWidget* parent = nullptr);

    void showPopup() override;

Q_SIGNALS:
    // The list is about to open (by mouse or keyboard).
    void popupAboutToShow();
};
