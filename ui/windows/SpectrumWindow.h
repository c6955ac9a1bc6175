#pragma once
// The desktop spectrum: up to 128 bars with falling caps in a translucent
// strip as wide as the screen just above the task bar, redrawn every 30 ms
// while the spectrum is switched on. The strip never takes the focus or
// the mouse: clicks reach the windows below it.
#include "ui/widgets/SpectrumBars.h"

#include <QBrush>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QPainter;

class SpectrumWindow : public QWidget {
public:
    static constexpr int kFrameMs = 30;
    static constexpr int kPanelTop = 20;  // the bars' panel starts this far below the window's top

    // Fills the magnitudes of the sound being heard (zeros when nothing plays).
    using Source = std::function<void(std::array<float, kSpectrumBins>&)>;

    // Sized and placed for the primary screen; hidden, its timer stopped.
    explicit SpectrumWindow(Source source);
    ~SpectrumWindow() override;

    // Settings colours (ARGB; only red, green and blue count): the bars fade
    // from `first` at their top to `second` at their bottom, caps are `first`.
    void setColours(std::int32_t first, std::int32_t second);

    // The play bar's switch: on shows the warning notice (every time), the
    // window and starts the frames; off hides the window and stops them.
    void setSwitchedOn(bool on);

    // One frame: reads the magnitudes, moves the bars and caps, and repaints
    // the bars that changed.
    void advanceFrame();

    const SpectrumBars& bars() const { return bars_; }
    int barWidth() const { return barWidth_; }
    int barCount() const { return barCount_; }
    const QTimer& frameTimer() const { return timer_; }
    QWidget* panel() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class Panel;
    // The rows a bar covers this frame: its top and its cap line.
    struct DrawnBar {
        int top = -1;
        int capY = -1;
    };
    QRect columnOf(int bar) const;
    void paintBars(QPainter& painter, const QRect& area);
    const QImage& barPicture(int height);

    Source source_;
    SpectrumBars bars_;
    std::array<float, kSpectrumBins> magnitudes_{};
    std::array<DrawnBar, kSpectrumBins> drawn_{};
    QColor first_;
    QBrush barBrush_;  // the two colours' gradient, mapped onto each bar
    // A bar of each height drawn once in the gradient, then only copied.
    std::vector<QImage> barPictures_;
    int barWidth_ = 1;
    int barCount_ = 0;
    Panel* panel_ = nullptr;
    QTimer timer_;
};
