// The in-place editors: where they appear, how they end, what they report.
#include "GridTestSupport.h"

#include "gridctrl/CButtonIPE.h"
#include "gridctrl/CComboBoxIPE.h"
#include "gridctrl/CDateTimeIPE.h"
#include "gridctrl/CEditIPE.h"
#include "gridctrl/CSpinnerIPE.h"
#include "gridctrl/EditorStyles.h"
#include "platform/ControlIds.h"
#include "platform/QtConversions.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPointer>

namespace
{

// End-of-label-edit notifications as they reach the grid.
class EndEditRecorder : public QObject
{
public:
    struct Report {
        int idFrom;
        int row;
        int column;
        std::optional<QString> text;
        std::intptr_t param;
    };
    std::vector<Report> reports;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == CNotifyEvent::EventType()) {
            auto *n = static_cast<CNotifyEvent *>(event);
            if (n->Code() == LVN_ENDLABELEDIT)
                reports.push_back({n->IdFrom(), n->Row(), n->Column(), n->Text(), n->Param()});
        }
        return false;
    }
};

class GridEditors : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        Fill(4, 4);
        grid->SetFlags(GLF_EDITABLE);
        grid->installEventFilter(&recorder);
        other = new QLineEdit(window.get());
        other->setGeometry(0, 230, 10, 10);
        Show();
    }

    // Runs posted work: queued focus changes and the editors' posted closes.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    QRect Cell(int row, int column) const { return ToQRect(grid->GetCellRect(row, column)); }

    EndEditRecorder recorder;
    QLineEdit *other = nullptr; // another control of the window
};

TEST_F(GridEditors, WithoutTheEditableFlagNoFactoryMakesAnything)
{
    grid->SetFlags(GLF_FULLROWSELECT | GLF_EDITONCLICK | GLF_ENTEREDITS);
    const auto before = grid->viewport()->findChildren<QWidget *>().size();
    EXPECT_EQ(grid->CreateComboEditor(1, 1, 0), nullptr);
    EXPECT_EQ(grid->CreateEditEditor(1, 1, 0, "x"), nullptr);
    EXPECT_EQ(grid->CreateSpinnerEditor(1, 1, 0, 0, 9, "1"), nullptr);
    EXPECT_EQ(grid->CreateButtonEditor(1, 1, 0, "..."), nullptr);
    EXPECT_EQ(grid->CreateDateEditor(1, 1, 0, QString(), QDateTime()), nullptr);
    EXPECT_EQ(grid->viewport()->findChildren<QWidget *>().size(), before);
}

TEST_F(GridEditors, FactoriesRefuseCellsThatDoNotExist)
{
    EXPECT_EQ(grid->CreateEditEditor(9, 1, 0, "x"), nullptr);
    EXPECT_EQ(grid->CreateComboEditor(1, 7, 0), nullptr);
}

TEST_F(GridEditors, EditSitsOverTheCellWithItsTextSelectedAndTheFocus)
{
    QPointer<CEditIPE> edit = grid->CreateEditEditor(2, 1, 0, "Smith");
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->geometry(), Cell(2, 1).translated(-1, -1));
    EXPECT_EQ(edit->selectedText(), "Smith");
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->font(), grid->font());

    QPointer<CEditIPE> wide = grid->CreateEditEditor(1, 2, 0, "", 100);
    EXPECT_EQ(wide->geometry(),
              QRect(Cell(1, 2).left() - 1, Cell(1, 2).top() - 1, 100, Cell(1, 2).height()));
}

TEST_F(GridEditors, EnterReportsTheTextOnceAndClosesTheEdit)
{
    QPointer<CEditIPE> edit = grid->CreateEditEditor(2, 1, 0, "Smith");
    QTest::keyClicks(edit, "Jones");
    QTest::keyClick(edit, Qt::Key_Return);
    Settle();
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_FALSE(edit);
    ASSERT_EQ(grid->ended.size(), 1u);
    EXPECT_EQ(grid->ended[0].row, 2);
    EXPECT_EQ(grid->ended[0].column, 1);
    EXPECT_EQ(grid->ended[0].text, QString("Jones"));
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_EQ(recorder.reports[0].param, 0);

    // Later focus changes report nothing more.
    other->setFocus();
    grid->setFocus();
    Settle();
    EXPECT_EQ(grid->ended.size(), 1u);
}

TEST_F(GridEditors, EscapeReportsNoText)
{
    QPointer<CEditIPE> edit = grid->CreateEditEditor(1, 1, 0, "Smith");
    QTest::keyClicks(edit, "Jones");
    QTest::keyClick(edit, Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(edit.isNull());
    ASSERT_EQ(grid->ended.size(), 1u);
    EXPECT_FALSE(grid->ended[0].text.has_value());
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(GridEditors, LosingTheFocusToAnotherControlEndsTheEdit)
{
    QPointer<CEditIPE> edit = grid->CreateEditEditor(3, 2, 0, "42");
    other->setFocus();
    Settle();
    EXPECT_FALSE(edit);
    ASSERT_EQ(grid->ended.size(), 1u);
    EXPECT_EQ(grid->ended[0].text, QString("42"));
    EXPECT_TRUE(grid->hasFocus()); // the grid takes the focus back
}

TEST_F(GridEditors, SpinnerStepsTheNumberWithinItsRangeAndClosesWithTheEdit)
{
    QPointer<CEditIPE> edit = grid->CreateSpinnerEditor(1, 1, 0, 0, 10, "9");
    ASSERT_TRUE(edit);
    QPointer<CSpinnerIPE> spinner = edit->Spinner();
    ASSERT_TRUE(spinner);
    const QRect cell = Cell(1, 1).translated(-1, -1);
    EXPECT_EQ(edit->geometry(), cell.adjusted(0, 0, -17, 0));
    EXPECT_EQ(spinner->geometry(), QRect(cell.right() - 16, cell.top(), 17, cell.height()));

    const QPoint up(8, 2);
    const QPoint down(8, spinner->height() - 2);
    QTest::mouseClick(spinner, Qt::LeftButton, {}, up);
    EXPECT_EQ(edit->text(), "10");
    QTest::mouseClick(spinner, Qt::LeftButton, {}, up);
    EXPECT_EQ(edit->text(), "10"); // the maximum holds
    QTest::mouseClick(spinner, Qt::LeftButton, {}, down);
    EXPECT_EQ(edit->text(), "9");
    EXPECT_TRUE(edit->hasFocus()); // the arrows leave the focus in the edit
    EXPECT_TRUE(grid->ended.empty());

    QTest::keyClick(edit, Qt::Key_Return);
    Settle();
    EXPECT_FALSE(edit);
    EXPECT_FALSE(spinner);
    ASSERT_EQ(grid->ended.size(), 1u);
    EXPECT_EQ(grid->ended[0].text, QString("9"));
}

TEST_F(GridEditors, ComboReportsTheChosenItemAndItsIndex)
{
    QPointer<CComboBoxIPE> combo = grid->CreateComboEditor(2, 2, CBS_DROPDOWNLIST);
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->geometry().topLeft(), Cell(2, 2).topLeft() - QPoint(1, 1));
    combo->AddString("Run");
    combo->AddString("Pass");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->DroppedWidth(), combo->width());
    combo->AddString("Fake punt, direct snap to the up-back");
    EXPECT_GT(combo->DroppedWidth(), combo->width());
    EXPECT_TRUE(combo->hasFocus());

    combo->setCurrentIndex(1);
    QTest::keyClick(combo, Qt::Key_Return);
    Settle();
    EXPECT_FALSE(combo);
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_EQ(recorder.reports[0].text, QString("Pass"));
    EXPECT_EQ(recorder.reports[0].param, 1);
    ASSERT_EQ(grid->ended.size(), 1u);
    EXPECT_EQ(grid->ended[0].text, QString("Pass"));
}

TEST_F(GridEditors, ComboWithSidewaysScrollKeepsItsListWidth)
{
    QPointer<CComboBoxIPE> combo = grid->CreateComboEditor(2, 2, CBS_DROPDOWNLIST | WS_HSCROLL);
    combo->AddString("Fake punt, direct snap to the up-back");
    EXPECT_EQ(combo->DroppedWidth(), combo->width());
}

TEST_F(GridEditors, ComboEscapeReportsNoTextAndAnEditableComboReportsTypedText)
{
    QPointer<CComboBoxIPE> combo = grid->CreateComboEditor(1, 1, CBS_DROPDOWNLIST);
    combo->AddString("Run");
    combo->setCurrentIndex(0);
    QTest::keyClick(combo, Qt::Key_Escape);
    Settle();
    ASSERT_EQ(grid->ended.size(), 1u);
    EXPECT_FALSE(grid->ended[0].text.has_value());

    QPointer<CComboBoxIPE> typed = grid->CreateComboEditor(1, 1, CBS_DROPDOWN);
    typed->AddString("Run");
    ASSERT_TRUE(typed->isEditable());
    typed->setCurrentIndex(-1);
    typed->lineEdit()->setText("Option");
    other->setFocus();
    Settle();
    ASSERT_EQ(grid->ended.size(), 2u);
    EXPECT_EQ(grid->ended[1].text, QString("Option"));
    EXPECT_EQ(recorder.reports[1].param, -1);
}

TEST_F(GridEditors, ButtonSitsAtTheCellsRightEndAndAClickReportsWithoutText)
{
    QPointer<CButtonIPE> button = grid->CreateButtonEditor(1, 2, 0, "...", 0, 77);
    ASSERT_TRUE(button);
    const QRect cell = Cell(1, 2);
    // 17 wide, right edge on the cell's, moved by (-2, +1), 3 pixels shorter.
    EXPECT_EQ(button->geometry(),
              QRect(cell.right() + 1 - 17 - 2, cell.top() + 1, 17, cell.height() - 3));
    EXPECT_EQ(GetDlgCtrlID(button), 77);
    EXPECT_TRUE(button->hasFocus());

    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(button);
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_EQ(recorder.reports[0].idFrom, 77);
    EXPECT_FALSE(recorder.reports[0].text.has_value());
    EXPECT_EQ(recorder.reports[0].param, 0);
    EXPECT_EQ(grid->ended.size(), 1u);
}

TEST_F(GridEditors, ButtonEndsOnEscapeLikeOnEnterAndClosesOnlyItself)
{
    QPointer<QWidget> sibling = new QWidget(grid->viewport()); // not the button's
    QPointer<CButtonIPE> button = grid->CreateButtonEditor(1, 2, 0, "...", 30);
    EXPECT_EQ(button->width(), 30);
    QTest::keyClick(button, Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(button);
    EXPECT_TRUE(sibling);
}

TEST_F(GridEditors, DateEditorKeepsEditingWhileItsCalendarIsOpenAndEndsWhenItCloses)
{
    QPointer<CDateTimeIPE> date =
        grid->CreateDateEditor(1, 1, 0, "yyyy-MM-dd", QDateTime(QDate(2026, 9, 13), QTime(13, 0)));
    ASSERT_TRUE(date);
    EXPECT_EQ(date->geometry(), Cell(1, 1).adjusted(-2, -2, 1, 1));
    EXPECT_EQ(date->text(), "2026-09-13");
    EXPECT_TRUE(date->hasFocus());

    // Drop the calendar down with a click on the arrow at the right end.
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 5, date->height() / 2));
    Settle();
    QWidget *calendar = date->calendarWidget()->window();
    ASSERT_TRUE(calendar->isVisible());
    EXPECT_TRUE(date);
    EXPECT_TRUE(recorder.reports.empty());

    calendar->hide();
    Settle();
    EXPECT_FALSE(date);
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_EQ(recorder.reports[0].text, QString("2026-09-13"));
    EXPECT_EQ(recorder.reports[0].param, 2026 | (9 << 16));
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(GridEditors, DateEditorEscapeReportsNoText)
{
    QPointer<CDateTimeIPE> date = grid->CreateDateEditor(1, 1, 0, QString(), QDateTime());
    QTest::keyClick(date, Qt::Key_Escape);
    Settle();
    ASSERT_EQ(grid->ended.size(), 1u);
    EXPECT_FALSE(grid->ended[0].text.has_value());
}

// A table that edits its cells in place with the edit editor.
class EditingGrid : public RecordingGrid
{
public:
    using RecordingGrid::RecordingGrid;
    void EditCell(int row, int column) override
    {
        RecordingGrid::EditCell(row, column);
        CreateEditEditor(row, column, 0, GetItemText(row, column));
    }
    void EndEdit(int row, int column, const std::optional<QString> &text) override
    {
        if (text)
            SetItemText(row, column, *text);
        RecordingGrid::EndEdit(row, column, text);
    }
};

TEST(GridEditing, ASubclassEditsACellFromClickToStoredText)
{
    NotificationSink window;
    window.resize(300, 200);
    auto *grid = new EditingGrid(&window, 1);
    grid->setGeometry(0, 0, 300, 200);
    grid->InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    grid->InsertColumn(1, "Yds", LVCFMT_RIGHT, 60);
    grid->InsertItem(0, "Smith");
    grid->SetItemText(0, 1, "12");
    grid->SetFlags(GLF_EDITABLE | GLF_EDITONCLICK);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      ToQPoint(grid->GetCellRect(0, 1).CenterPoint()));
    auto *edit = grid->viewport()->findChild<CEditIPE *>();
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "34");
    QTest::keyClick(edit, Qt::Key_Enter);
    QApplication::processEvents();
    EXPECT_EQ(grid->GetItemText(0, 1), "34");
    EXPECT_TRUE(grid->hasFocus());
}

} // namespace

namespace
{

TEST_F(GridEditors, DeletingTheGridWithAnEditorOpenReportsNothing)
{
    QPointer<CEditIPE> edit = grid->CreateSpinnerEditor(1, 1, 0, 0, 5, "3");
    ASSERT_TRUE(edit);
    delete grid;
    grid = nullptr;
    Settle();
    EXPECT_FALSE(edit);
    EXPECT_TRUE(recorder.reports.empty());
}

// A grid that logs its state hooks.
class HookGrid : public CZrGridListCtrl
{
public:
    using CZrGridListCtrl::CZrGridListCtrl;
    std::vector<QString> log;
    // Each hook also notes the row's state and the first selected row as the
    // list reports them while the hook runs.
    QString Seen(int row) const
    {
        return QStringLiteral(" seen %1 first %2")
            .arg(GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED))
            .arg(GetFirstSelectedRow());
    }
    void OnStateChanging(int row, int column, unsigned newState) override
    {
        log.push_back(QStringLiteral("changing %1 %2 %3").arg(row).arg(column).arg(newState) +
                      Seen(row));
    }
    void OnStateChanged(int row, int column, unsigned oldState, unsigned newState) override
    {
        log.push_back(
            QStringLiteral("changed %1 %2 %3>%4").arg(row).arg(column).arg(oldState).arg(newState) +
            Seen(row));
    }
    void OnItemChanged(int row, int column) override
    {
        log.push_back(QStringLiteral("item %1 %2").arg(row).arg(column));
    }
};

// The hooks answer the list's notice that a row's state has changed: while
// they run, the list already reports the new state.
TEST(GridHooks, StateChangesCallChangingThenChangedThenItemChangedAfterTheChange)
{
    HookGrid grid;
    grid.InsertColumn(0, "A");
    grid.InsertItem(0, "x");
    grid.InsertItem(1, "y");
    grid.log.clear();
    grid.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(grid.log, (std::vector<QString>{"changing 1 0 2 seen 2 first 1",
                                              "changed 1 0 0>2 seen 2 first 1", "item 1 0"}));
    grid.log.clear();
    grid.SetItemState(1, 0, LVIS_SELECTED);
    EXPECT_EQ(grid.log, (std::vector<QString>{"changing 1 0 0 seen 0 first -1",
                                              "changed 1 0 2>0 seen 0 first -1", "item 1 0"}));
    grid.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    grid.log.clear();
    grid.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED); // no change, no calls
    EXPECT_TRUE(grid.log.empty());
}

} // namespace
