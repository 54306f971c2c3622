#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

// The line score of the Game Overview page: a small grid of the rows it is
// given in columns as wide as it is told, the first row (the period
// headings) in bold, names left and points centred.
class CLineScoreView : public QWidget
{
    Q_OBJECT

public:
    explicit CLineScoreView(QWidget *parent = nullptr);

    // The rows and each column's width (a column without one is the last width given, or 24).
    void SetRows(std::vector<QStringList> rows, std::vector<int> widths);
    const std::vector<QStringList> &rows() const { return rows_; }
    const std::vector<int> &columnWidths() const { return widths_; }

    static constexpr int kRowHeight = 16;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<QStringList> rows_;
    std::vector<int> widths_;
};
