#include "config/frmAbout.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/KeyStore.h"
#include "config/ProductLogo.h"
#include "link/MessageBox.h"
#include "link/ProgramInfo.h"
#include "link/modCommon.h"

namespace tavo {

namespace {

// The buffer a value is read into, its terminating NUL included.
constexpr std::size_t kValueBuffer = 1024;

QFrame* SeparatorLine(QWidget* parent, const char* colour) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setFixedHeight(1);
    line->setStyleSheet(QString("background-color: %1; border: none;").arg(colour));
    return line;
}

// The program's title as the application knows it (its own when none is set).
std::string Title() {
    return ProgramTitle().empty() ? std::string(modTAVOCfg::kProgramTitle) : ProgramTitle();
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setModal(true);

    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton("&System Info...", this);
    cmdSysInfo->setObjectName("cmdSysInfo");
    cmdSysInfo->setAutoDefault(false);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(ProductLogo());
    Image1->setAlignment(Qt::AlignTop);

    Line1[0] = SeparatorLine(this, "#808080");
    Line1[1] = SeparatorLine(this, "#C0C0C0");

    lblDescription = new QLabel("Configures TAVO relay controllers and audio/video matrix switches.", this);
    lblDescription->setObjectName("lblDescription");
    QFont small = lblDescription->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lblDescription->setFont(small);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName("lblVersion");

    lblDisclaimer = new QLabel(
        "Warning: this program is protected by copyright law. Copying or passing on this program, or any "
        "part of it, without permission may be punished under civil and criminal law.",
        this);
    lblDisclaimer->setObjectName("lblDisclaimer");
    lblDisclaimer->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDescription);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    top->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->setSpacing(6);
    layout->addWidget(Line1[0]);
    layout->addWidget(Line1[1]);
    layout->addLayout(bottom);
    setMinimumWidth(420);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

    Form_Load();
}

void frmAbout::Form_Load() {
    const QString title = QString::fromStdString(Title());
    setWindowTitle("About " + title);
    lblVersion->setText(VersionText(modTAVOCfg::kProgramVersion));
    lblTitle->setText(title);
}

QString frmAbout::VersionText(const modTAVOCfg::ProgramVersion& version) {
    return QString("Version %1.%2.%3").arg(version.Major).arg(version.Minor).arg(version.Revision);
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() {
    // Read once for both lookups: a store given as a pipe can be read only once.
    const KeyStore store = KeyStore::FromFile(KeyStore::StoreFile());
    std::string path;
    bool located =
        GetKeyValue(store, kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path);
    if (!located) {
        std::string folder;
        if (GetKeyValue(store, kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                        folder)) {
            const std::string candidate = folder + "/MSINFO32.EXE";
            if (FileExists(candidate)) {
                path = candidate;
                located = true;
            }
        }
    }
    // Started on its own: it outlives the about box and this program.
    if (located && !path.empty() && QProcess::startDetached(QString::fromStdString(path), {})) return;
    ShowMessage(Title(), "System Information Is Unavailable At This Time", MsgIcon::None, MsgButtons::Ok);
}

bool frmAbout::GetKeyValue(std::int32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
    return GetKeyValue(KeyStore::FromFile(KeyStore::StoreFile()), KeyRoot, KeyName, SubKeyRef, KeyVal);
}

bool frmAbout::GetKeyValue(const KeyStore& store, std::int32_t KeyRoot, const std::string& KeyName,
                           const std::string& SubKeyRef, std::string& KeyVal) {
    if (!store.HasKey(KeyRoot, KeyName)) {
        KeyVal.clear();
        return false;
    }
    const std::optional<KeyStore::Value> value = store.QueryValue(KeyRoot, KeyName, SubKeyRef);
    // A text value takes its terminating NUL in the buffer too.
    if (!value || value->data.size() + 1 > kValueBuffer) {
        KeyVal.clear();
        return false;
    }
    if (value->type == KeyStore::ValueType::Text) {
        std::string text = value->data;
        if (!text.empty() && text.back() == '\0') text.pop_back();
        KeyVal = text;
    }
    return true;
}

void ShowAboutBox(QWidget* parent) {
    frmAbout box(parent);
    box.exec();
}

}  // namespace tavo
