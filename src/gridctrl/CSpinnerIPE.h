#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>

class CEditIPE;

// The up and down arrows beside a spinner's edit editor. A click on an arrow
// steps the integer in the edit (its buddy) towards the maximum (upper arrow)
// or the minimum (lower arrow), within the range, without thousands
// separators. The arrows never take the focus, so the edit keeps editing.
class CSpinnerIPE : public QWidget
{
    Q_OBJECT

public:
    CSpinnerIPE(QWidget *parent, CEditIPE *buddy, std::int32_t minimum, std::int32_t maximum);

    std::int32_t Minimum() const { return minimum_; }
    std::int32_t Maximum() const { return maximum_; }
    // The buddy's integer, or the last position when the buddy holds none,
    // within the range.
    std::int32_t Position() const;
    // Steps the position by `steps` towards the maximum (negative: the minimum).
    void Step(int steps);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPointer<CEditIPE> buddy_;
    const std::int32_t minimum_;
    const std::int32_t maximum_;
    std::int32_t position_;
};
