#pragma once

#include "app/Settings.h"

#include <QDialog>
#include <QString>
#include <optional>
#include <string>
#include <utility>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The modal "Configure" dialog: the game file, the two season files, the
// show-time-of-possession flag and the default-team-files mode, in which the
// season paths follow the game file. Its OK checks that the game file can be
// opened and stays open with "File not found" when it cannot.
class CConfigureDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDC_TEAM_FILES = 1009; // the button that toggles the mode

    // A dialog showing `settings`. Run it with exec(); after OK, Values()
    // holds what the user confirmed.
    explicit CConfigureDlg(const Settings &settings, QWidget *parent = nullptr);

    // The five values as last read from the controls.
    const Settings &Values() const { return values_; }

    // The season paths of default team files: "home.xml" and "visitor.xml" in
    // the game file's folder (without a folder when the game path names none).
    static std::pair<std::string, std::string> DefaultTeamFilePaths(const std::string &gamePath);

    // The OK button: ends the dialog only when the game file can be opened.
    void accept() override;

protected:
    // Runs the Open dialog for an existing XML file, starting at `startPath`;
    // the chosen path, or nothing when the user cancels.
    virtual std::optional<QString> BrowseForFile(const QString &startPath);

    // Shows a message box with an exclamation icon and an OK button.
    virtual void ShowExclamation(const QString &text, const QString &caption);

private:
    void createControls();
    void readControls();
    void applyTeamFilesMode();
    void toggleTeamFiles();
    void browseGameFile();
    void browseSeasonFile(std::string Settings::*path, QLineEdit *edit);

    Settings values_;
    QLineEdit *gameEdit_ = nullptr;
    QLineEdit *homeEdit_ = nullptr;
    QLineEdit *visitorEdit_ = nullptr;
    QPushButton *homeBrowse_ = nullptr;
    QPushButton *visitorBrowse_ = nullptr;
    QCheckBox *showTopCheck_ = nullptr;
    QPushButton *teamFilesButton_ = nullptr;
};
