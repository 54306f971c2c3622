#pragma once

#include <QString>
#include <QWidget>

// The one-line strip of the main window's header, shown on every page: the
// game at a glance on the left, what the latest reload did on the right (in
// red while the game file cannot be read). Texts that do not fit are cut
// with an ellipsis, the situation first.
class CGameStrip : public QWidget
{
    Q_OBJECT

public:
    explicit CGameStrip(QWidget *parent = nullptr);

    void SetSituation(const QString &text);
    void SetStatus(const QString &text, bool problem);

    const QString &situation() const { return situation_; }
    const QString &status() const { return status_; }
    bool problem() const { return problem_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString situation_;
    QString status_;
    bool problem_ = false;
};
