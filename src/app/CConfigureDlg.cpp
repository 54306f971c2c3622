#include "app/CConfigureDlg.h"

#include "platform/CheckBoxes.h"
#include "platform/ControlIds.h"
#include "platform/DialogUnits.h"
#include "platform/Fonts.h"
#include "views/ColumnFitting.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int kPathLimit = 260; // characters an edit box accepts

// True when `path` names a regular file that this process can open for reading.
bool canOpenForReading(const std::string &path)
{
    // Non-blocking, so that a path naming a pipe cannot hang the dialog.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {
    };
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

QString fromPath(const std::string &path)
{
    return QString::fromStdString(path);
}

} // namespace

CConfigureDlg::CConfigureDlg(const Settings &settings, QWidget *parent)
    : QDialog(parent), values_(settings)
{
    setWindowTitle(QStringLiteral("Configure"));
    setFont(DialogFont());
    createControls();

    gameEdit_->setText(fromPath(values_.gameFile));
    homeEdit_->setText(fromPath(values_.homeFile));
    visitorEdit_->setText(fromPath(values_.visitorFile));
    showTopCheck_->setChecked(values_.showTOP);
    applyTeamFilesMode();
    // In default mode the season paths follow the game path as it is typed.
    connect(gameEdit_, &QLineEdit::textChanged, this, &CConfigureDlg::applyTeamFilesMode);
}

void CConfigureDlg::createControls()
{
    const auto place = [&](QWidget *control, int id, int x, int y, int width, int height) {
        control->setGeometry(MapDialogRect(QRect(x, y, width, height)));
        if (id != 0)
            SetDlgCtrlID(control, id);
    };
    // Labels and the check box grow to show their whole text, up to the
    // dialog's right margin.
    const int rightMargin = MapDialogRect(QRect(0, 0, 195 - 5, 1)).width();
    const auto fitText = [&](QWidget *control, const QString &text, int extra) {
        QRect at = control->geometry();
        at.setWidth(FitTextWidth(text, font(), at.width(), rightMargin - at.right() - 1, extra));
        control->setGeometry(at);
    };
    const auto label = [&](const char *text, int x, int y, int width, int height) {
        auto *control = new QLabel(QString::fromLatin1(text), this);
        place(control, 0, x, y, width, height);
        fitText(control, control->text(), 0);
    };
    const auto pathEdit = [&](int id, int y) {
        auto *edit = new QLineEdit(this);
        edit->setMaxLength(kPathLimit);
        place(edit, id, 5, y, 175, 14);
        return edit;
    };
    const auto browseButton = [&](int id, int y) {
        auto *button = new QPushButton(QStringLiteral("..."), this);
        button->setAutoDefault(false);
        place(button, id, 180, y, 10, 14);
        return button;
    };

    setFixedSize(MapDialogRect(QRect(0, 0, 195, 138)).size());
    label("Game File", 5, 5, 32, 8);
    gameEdit_ = pathEdit(IDC_GAME_FILE, 15);
    label("Home Season File", 5, 35, 58, 8);
    homeEdit_ = pathEdit(IDC_HOME_FILE, 45);
    label("Visitor Season File", 5, 65, 58, 8);
    visitorEdit_ = pathEdit(IDC_VISITOR_FILE, 75);
    QPushButton *gameBrowse = browseButton(IDC_BROWSE_GAME_FILE, 15);
    homeBrowse_ = browseButton(IDC_BROWSE_HOME_FILE, 45);
    visitorBrowse_ = browseButton(IDC_BROWSE_VISITOR_FILE, 75);

    showTopCheck_ = new QCheckBox(QStringLiteral("Show Time of Possession"), this);
    UseClassicCheckBoxSpacing(*showTopCheck_);
    place(showTopCheck_, IDC_SHOW_TOP, 5, 100, 97, 10);
    // Beside the text: the square and the gap to it, as the style draws them.
    fitText(showTopCheck_, showTopCheck_->text(),
            showTopCheck_->sizeHint().width() -
                QFontMetrics(font()).horizontalAdvance(showTopCheck_->text()));

    teamFilesButton_ = new QPushButton(this);
    teamFilesButton_->setAutoDefault(false);
    place(teamFilesButton_, IDC_TEAM_FILES, 5, 120, 75, 14);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    place(ok, IDOK, 85, 120, 50, 14);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setAutoDefault(false);
    place(cancel, IDCANCEL, 140, 120, 50, 14);

    connect(gameBrowse, &QPushButton::clicked, this, &CConfigureDlg::browseGameFile);
    connect(homeBrowse_, &QPushButton::clicked, this,
            [this] { browseSeasonFile(&Settings::homeFile, homeEdit_); });
    connect(visitorBrowse_, &QPushButton::clicked, this,
            [this] { browseSeasonFile(&Settings::visitorFile, visitorEdit_); });
    connect(teamFilesButton_, &QPushButton::clicked, this, &CConfigureDlg::toggleTeamFiles);
    connect(ok, &QPushButton::clicked, this, &CConfigureDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CConfigureDlg::reject);
}

std::pair<std::string, std::string> CConfigureDlg::DefaultTeamFilePaths(const std::string &gamePath)
{
    // The folder with its trailing separator; npos + 1 leaves it empty.
    const std::string folder = gamePath.substr(0, gamePath.rfind('/') + 1);
    return {folder + "home.xml", folder + "visitor.xml"};
}

void CConfigureDlg::readControls()
{
    values_.gameFile = gameEdit_->text().toStdString();
    values_.homeFile = homeEdit_->text().toStdString();
    values_.visitorFile = visitorEdit_->text().toStdString();
    values_.showTOP = showTopCheck_->isChecked();
}

void CConfigureDlg::applyTeamFilesMode()
{
    if (values_.defaultTeamFiles) {
        readControls();
        std::tie(values_.homeFile, values_.visitorFile) = DefaultTeamFilePaths(values_.gameFile);
        homeEdit_->setText(fromPath(values_.homeFile));
        visitorEdit_->setText(fromPath(values_.visitorFile));
        // The button names the mode a click switches to.
        teamFilesButton_->setText(QStringLiteral("Custom team files"));
    } else {
        teamFilesButton_->setText(QStringLiteral("Default team files"));
    }
    const bool custom = !values_.defaultTeamFiles;
    for (QWidget *control :
         {static_cast<QWidget *>(homeEdit_), static_cast<QWidget *>(visitorEdit_),
          static_cast<QWidget *>(homeBrowse_), static_cast<QWidget *>(visitorBrowse_)})
        control->setEnabled(custom);
}

void CConfigureDlg::toggleTeamFiles()
{
    values_.defaultTeamFiles = !values_.defaultTeamFiles;
    applyTeamFilesMode();
}

void CConfigureDlg::browseGameFile()
{
    // Starts at the path as last read from the controls, not at the edit box's text.
    const std::optional<QString> chosen = BrowseForFile(fromPath(values_.gameFile));
    if (!chosen)
        return;
    values_.gameFile = chosen->toStdString();
    gameEdit_->setText(*chosen);
    applyTeamFilesMode();
}

void CConfigureDlg::browseSeasonFile(std::string Settings::*path, QLineEdit *edit)
{
    readControls();
    const std::optional<QString> chosen = BrowseForFile(fromPath(values_.*path));
    if (!chosen)
        return;
    values_.*path = chosen->toStdString();
    edit->setText(*chosen);
}

void CConfigureDlg::accept()
{
    readControls();
    if (canOpenForReading(values_.gameFile))
        QDialog::accept();
    else
        ShowExclamation(QStringLiteral("The Game File could not be opened."),
                        QStringLiteral("File not found"));
}

std::optional<QString> CConfigureDlg::BrowseForFile(const QString &startPath)
{
    QFileDialog dialog(this, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    // "XML Files (*.xml)|*.xml|All Files|*.*||" in Qt's form; "*.*" would
    // miss files without a dot here, "*" matches every file.
    dialog.setNameFilters({QStringLiteral("XML Files (*.xml)"), QStringLiteral("All Files (*)")});
    if (!startPath.isEmpty())
        dialog.selectFile(startPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void CConfigureDlg::ShowExclamation(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, this);
    box.exec();
}
