// The hover tip: a small frameless popup owned by the main window that shows
// four coloured lines about the day under the mouse and, below them, a
// light-green box with the day's festivals. It never takes the focus; mouse
// moves over it go on to the owner.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QString>
#include <QStringDecoder>
#include <QWidget>
#include <array>
#include <string>

class CTipWindow : public QWidget {
    Q_OBJECT

public:
    // Creates the tip window hidden, as a child window of `owner`, which
    // places it and receives its mouse moves. The owner deletes it.
    explicit CTipWindow(QWidget* owner);

    // Stores the four lines and the festival note (GBK bytes, in display
    // order: date, weekday, lunar date, gan-zhi, note) and measures the tip.
    // The tip is repainted only when line 1 (the date) differs from the
    // previous call's line 1.
    // A public holiday (UTF-8, "国庆节 休") begins the note.
    void SetText(const std::string& line1, const std::string& line2, const std::string& line3,
        const std::string& line4, const std::string& note, const std::string& holiday = {});

    // Places the tip centred on the global point `pos` and 20 pixels below it
    // when `show`; hides it otherwise, or when it would be larger than
    // 300 x 300, or when its top-right corner falls outside the owner's
    // window frame. Nothing is shown before the first SetText.
    void Show(QPoint pos, bool show);

    // Measurements of the last SetText, in pixels; 0 before it.
    int sampleWidth() const noexcept { return m_sampleWidth; }
    int textHeight() const noexcept { return m_textHeight; }
    int noteWidth() const noexcept { return m_noteWidth; }
    int noteHeight() const noexcept { return m_noteHeight; }
    int lineHeight() const noexcept { return m_textHeight / 4; }

    // Decoded texts of the last SetText.
    QString line(int index) const { return m_lines[static_cast<std::size_t>(index)]; }
    QString note() const { return m_note; }

    // Repaints asked for by SetText (line 1 changed) and paint events handled.
    int repaintRequests() const noexcept { return m_repaintRequests; }
    int paintCount() const noexcept { return m_paintCount; }

    // The tip font at a device pixel ratio: 13 px 宋体 or the closest
    // installed face, drawn from its bitmap strikes where they exist.
    static QFont TipFont(qreal devicePixelRatio = 1.0);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QWidget* m_owner;
    qreal m_fontRatio;  // device pixel ratio m_font is made for
    QFont m_font;
    QFontMetrics m_metrics;  // of m_font: layout in logical pixels, alike at every ratio
    int m_fixedSampleWidth;  // of SampleLine in m_metrics, measured once
    QStringDecoder m_gbk;    // model texts are GBK bytes
    std::array<QString, 4> m_lines;
    QString m_note;
    std::string m_lastLine1;  // GBK bytes of the line 1 last painted for
    // The texts of the last SetText as given (GBK, the holiday UTF-8): a move
    // within the same cell brings them again and is not decoded or measured.
    std::array<std::string, 6> m_lastTexts;
    int m_sampleWidth = 0;
    int m_textHeight = 0;
    int m_noteWidth = 0;
    int m_noteHeight = 0;
    int m_repaintRequests = 0;
    int m_paintCount = 0;
    bool m_hasText = false;
};
