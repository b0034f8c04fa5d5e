#pragma once
// A word-wrapped label that asks its layout for the height its lines need at its present
// width (never fewer than `minLines`), so that a tight layout gives it room, or a scroll
// area scrolls, instead of cutting its last lines off. The height for a width is kept until
// the text, the width or the font changes: a layout asks for it many times in one pass, and
// laying out rich text each time made a window's relayout cost several milliseconds.
#include <QLabel>
#include <array>

namespace zuohao::gui {

class WrapLabel : public QLabel {
    Q_OBJECT
public:
    explicit WrapLabel(QWidget* parent = nullptr, int minLines = 1);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int neededHeight(int guess) const;
    int m_minLines = 1;
    // The last heights asked for (a layout pass asks at a few widths), for which text.
    struct KeptHeight {
        int width = -1;
        int height = 0;
    };
    static constexpr int kKeptHeights = 4;
    void forgetHeights() const;
    mutable std::array<KeptHeight, kKeptHeights> m_kept{};
    mutable int m_nextKept = 0;
    mutable QString m_keptText;
};

} // namespace zuohao::gui
