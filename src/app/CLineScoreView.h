#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

// The line score of the Game Overview page: a small grid of the rows it is
// given, the first one (the period headings) in bold, names left and points
// centred.
class CLineScoreView : public QWidget
{
    Q_OBJECT

public:
    explicit CLineScoreView(QWidget *parent = nullptr);

    void SetRows(std::vector<QStringList> rows);
    const std::vector<QStringList> &rows() const { return rows_; }

    static constexpr int kRowHeight = 16;
    static constexpr int kNameWidth = 48;
    static constexpr int kCellWidth = 24;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<QStringList> rows_;
};
