#include "app/WindowExport.h"
#include "app/CPylonixDlg.h"
#include "app/DriveChartsPage.h"

#include "../support/ScratchDirectory.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <filesystem>
#include <gtest/gtest.h>

namespace
{

WindowOptions headless(const std::string &game)
{
    WindowOptions options;
    options.gameFile = game;
    options.interactive = false;
    return options;
}

QJsonObject controlOf(const QJsonObject &layout, const QString &role)
{
    for (const QJsonValue &value : layout["controls"].toArray()) {
        if (value["role"].toString() == role)
            return value.toObject();
    }
    ADD_FAILURE() << "no control " << role.toStdString();
    return {};
}

QRect rectOf(const QJsonObject &control)
{
    return QRect(control["x"].toInt(), control["y"].toInt(), control["w"].toInt(),
                 control["h"].toInt());
}

} // namespace

TEST(WindowExport, PageNamesRoundTrip)
{
    for (const int page : kPageCodes)
        EXPECT_EQ(PageFromName(PageName(page)), page);
    EXPECT_EQ(PageFromName("Offense"), std::nullopt);
    EXPECT_EQ(PageFromName("drive_chart"), std::nullopt);
}

TEST(WindowExport, DriveChartsLayoutAtTheRequestedSize)
{
    CPylonixDlg window(headless(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    WindowView view;
    view.page = PAGE_DRIVE_CHARTS;
    view.options.client = QSize(900, 600);
    QString error;
    ASSERT_TRUE(StartWindowForView(window, view, error)) << error.toStdString();

    const QJsonObject json = WindowToJson(window);
    const QJsonObject layout = json["layout"].toObject();
    EXPECT_EQ(layout["page"].toString(), "drive_charts");
    EXPECT_EQ(layout["client"].toArray(), QJsonArray({900, 600}));
    EXPECT_EQ(layout["drive_chart_height"].toInt(), 200);
    const int textHeight = window.drivePage().FourLineTextHeight();
    EXPECT_EQ(layout["drive_text_height"].toInt(), textHeight);

    const QJsonObject period = controlOf(layout, "period_box");
    EXPECT_EQ(rectOf(period), QRect(133, 80, 100, 100));
    EXPECT_TRUE(period["visible"].toBool());
    EXPECT_EQ(period["id"].toInt(), 1039);
    EXPECT_EQ(period["text"].toString(), "Entire Game");
    EXPECT_EQ(rectOf(controlOf(layout, "drive_text")), QRect(130, 307, 770, textHeight));
    EXPECT_EQ(controlOf(layout, "hint")["text"].toString(),
              "Double click on a drive to view individual plays.");
    EXPECT_FALSE(controlOf(layout, "container")["visible"].toBool());
    EXPECT_FALSE(controlOf(layout, "overview_text")["visible"].toBool());
    EXPECT_TRUE(controlOf(layout, "page_button.drive_charts")["visible"].toBool());
    EXPECT_EQ(controlOf(layout, "page_button.offense")["id"].toInt(), 1003);
    EXPECT_EQ(rectOf(controlOf(layout, "configure")), QRect(0, 576, 128, 24));
    // The yardage summary sits under the page buttons, disabled, in its natural size.
    const QJsonObject yardage = controlOf(layout, "yardage");
    EXPECT_EQ(rectOf(yardage).topLeft(), QPoint(5, 260));
    EXPECT_GE(rectOf(yardage).width(), 100);
    EXPECT_FALSE(yardage["enabled"].toBool());
    EXPECT_TRUE(yardage["visible"].toBool());

    // The overview text is reported whichever page is shown.
    EXPECT_TRUE(json["overview"].toString().contains("\nLocation: Harbor City"));
    EXPECT_EQ(json["period_box"].toArray().size(), 5);
}

TEST(WindowExport, TheDriveChartIsDescribedFromAnyPageWithItsSelectionAndHover)
{
    CPylonixDlg onChart(headless(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    WindowView view;
    view.page = PAGE_DRIVE_CHARTS;
    view.options.client = QSize(900, 600);
    QString error;
    ASSERT_TRUE(StartWindowForView(onChart, view, error)) << error.toStdString();
    const QJsonObject expected = WindowToJson(onChart)["drive_chart_view"].toObject();
    ASSERT_GT(expected["items"].toArray().size(), 1);
    EXPECT_EQ(expected["selected"].toInt(), -1);
    EXPECT_GT(expected["client"].toArray()[0].toInt(), 400) << "the chart's own client area";

    CPylonixDlg onOffense(headless(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    view.page = PAGE_OFFENSE;
    view.selectDrive = 1;
    view.hoverDrive = 0;
    ASSERT_TRUE(StartWindowForView(onOffense, view, error));
    const QJsonObject json = WindowToJson(onOffense);
    EXPECT_EQ(json["layout"]["page"].toString(), "offense");
    const QJsonObject chart = json["drive_chart_view"].toObject();
    EXPECT_EQ(chart["client"], expected["client"]) << "laid out as on the Drive Charts page";
    EXPECT_EQ(chart["items"], expected["items"]);
    EXPECT_EQ(chart["selected"].toInt(), 1);
    EXPECT_EQ(chart["hover"].toInt(), 0);
    EXPECT_TRUE(chart["readout"].toString().startsWith("Pointing at:\r\n"));
}

TEST(WindowExport, SmallSizeIsRaisedToTheMinimumAndPlaysOfEntersPlaysMode)
{
    CPylonixDlg window(headless(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    WindowView view;
    view.page = PAGE_DRIVE_CHARTS;
    view.options.client = QSize(300, 200);
    view.options.drives.playsOfDrive = 1;
    QString error;
    ASSERT_TRUE(StartWindowForView(window, view, error));
    const QJsonObject layout = WindowToJson(window)["layout"].toObject();
    EXPECT_EQ(layout["client"].toArray(), QJsonArray({510, 384}));
    EXPECT_EQ(controlOf(layout, "hint")["text"].toString(),
              "Right click on the field to view the drives list again.");
    EXPECT_FALSE(controlOf(layout, "period_box")["enabled"].toBool());
    EXPECT_FALSE(controlOf(layout, "scoring_only")["enabled"].toBool());
}

TEST(WindowExport, UnreadableGameNamesTheFile)
{
    ScratchDirectory dir;
    const std::string broken = dir.Write("game.xml", "<fbgame>");
    CPylonixDlg window(headless(broken));
    QString error;
    EXPECT_FALSE(StartWindowForView(window, WindowView{}, error));
    EXPECT_TRUE(error.startsWith(QString::fromStdString(broken) + ": ")) << error.toStdString();
}

TEST(WindowExport, ScreenshotHasTheClientSize)
{
    ScratchDirectory dir;
    CPylonixDlg window(headless(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    WindowView view;
    view.options.client = QSize(800, 500);
    QString error;
    ASSERT_TRUE(StartWindowForView(window, view, error));
    const QString path = QString::fromStdString(dir.PathOf("shot.png"));
    ASSERT_TRUE(SaveWindowScreenshot(window, path));
    const QImage image(path);
    EXPECT_EQ(image.size(), QSize(800, 500));
    EXPECT_FALSE(SaveWindowScreenshot(window, QString::fromStdString(dir.PathOf("no/dir/x.png"))));
}

TEST(WindowExport, ProgramWritesTheScreenshotAndTheWindowMembersOfTheExport)
{
    ScratchDirectory dir;
    const QString shot = QString::fromStdString(dir.PathOf("offense.png"));
    QProcess program;
    program.start(PYLONIX_PROGRAM,
                  {"--screenshot", shot, "--game", PYLONIX_SAMPLES_DIR "/small/game.xml", "--page",
                   "offense", "--size", "700x450"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
    EXPECT_EQ(QImage(shot).size(), QSize(700, 450));

    program.start(PYLONIX_PROGRAM,
                  {"--export", "json", "--game", PYLONIX_SAMPLES_DIR "/small/game.xml", "--page",
                   "play_by_play"});
    ASSERT_TRUE(program.waitForFinished(30000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QJsonObject json = QJsonDocument::fromJson(program.readAllStandardOutput()).object();
    const QJsonObject layout = json["layout"].toObject();
    EXPECT_EQ(layout["page"].toString(), "play_by_play");
    EXPECT_EQ(layout["client"].toArray(), QJsonArray({1024, 720}));
    EXPECT_EQ(rectOf(controlOf(layout, "play_by_play")), QRect(130, 103, 894, 617));
    EXPECT_TRUE(json["overview"].toString().contains("Attendance: "));
    EXPECT_EQ(json["period_box"].toArray().first().toString(), "Entire Game");

    program.start(PYLONIX_PROGRAM,
                  {"--screenshot", shot, "--game", QString::fromStdString(dir.PathOf("none.xml"))});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 2);
}

TEST(WindowExport, ProgramDescribesAndDrawsTheIndividualPlayerWindow)
{
    ScratchDirectory dir;
    const QString shot = QString::fromStdString(dir.PathOf("player.png"));
    QProcess program;
    program.start(PYLONIX_PROGRAM,
                  {"--export", "json", "--game", PYLONIX_SAMPLES_DIR "/small/game.xml", "--player",
                   "1,0", "--player-size", "640x420", "--screenshot-player", shot});
    ASSERT_TRUE(program.waitForFinished(30000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QJsonObject json = QJsonDocument::fromJson(program.readAllStandardOutput()).object();
    const QJsonObject player = json["player"].toObject();
    EXPECT_EQ(player["title"].toString(), "#7 Owen Tillery") << "the visitor's first player";
    EXPECT_EQ(player["plays_label"].toString(), "Plays involving Owen Tillery");
    EXPECT_EQ(player["panel"]["w"].toInt(), 640);
    EXPECT_EQ(player["categories"].toArray().first()["title"].toString(), "Passing");
    EXPECT_GT(player["plays"]["rows"].toArray().size(), 0);
    EXPECT_EQ(QImage(shot).size(), QSize(640, 420));

    program.start(PYLONIX_PROGRAM, {"--export", "json", "--game",
                                    PYLONIX_SAMPLES_DIR "/small/game.xml", "--player", "1,999"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 1) << "no such player";
    program.start(PYLONIX_PROGRAM, {"--export", "json", "--game",
                                    PYLONIX_SAMPLES_DIR "/small/game.xml", "--player", "2,0"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 1) << "no such team";
}

// Whatever names the arguments and the settings file give, no picture is
// drawn over the game file or a season file.
TEST(WindowExport, ProgramNeverDrawsOverTheGameOrASeasonFile)
{
    ScratchDirectory dir;
    const std::string sample = ReadFile(PYLONIX_SAMPLES_DIR "/small/game.xml");
    const QString game = QString::fromStdString(dir.Write("game.xml", sample));
    const QString ini = QString::fromStdString(
        dir.Write("Pylonix.ini", "[Pylonix]\nGameFile=" + game.toStdString()));
    std::filesystem::create_symlink(game.toStdString(), dir.PathOf("shot.png"));
    const QString link = QString::fromStdString(dir.PathOf("shot.png"));
    QProcess program;
    for (const QStringList &arguments :
         {QStringList{"--ini", ini, "--screenshot", link},
          QStringList{"--game", link, "--player", "0,1", "--screenshot-player", game}}) {
        program.start(PYLONIX_PROGRAM, arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitCode(), 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(program.readAllStandardError().contains("would write over"));
    }
    EXPECT_EQ(ReadFile(game.toStdString()), sample);
}
