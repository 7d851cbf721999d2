#pragma once
// The configuration program's about box: title, version, a credit line and a
// legal warning, and a button that starts the system-information program
// named in the key store (config/KeyStore.h).

#include <QDialog>
#include <QString>
#include <cstdint>
#include <string>

#include "config/modTAVOCfg.h"

class QFrame;
class QLabel;
class QPushButton;

namespace tavo {

class KeyStore;

class frmAbout : public QDialog {
    Q_OBJECT

  public:
    explicit frmAbout(QWidget* parent = nullptr);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Finds the system-information program through the key store and starts it
    // detached; the failure box when it cannot.
    void StartSysInfo();

    // The text value SubKeyRef of the key KeyName under KeyRoot into KeyVal.
    // True when the value was read; a value that is not text leaves KeyVal as it
    // was and still counts as read. False (KeyVal emptied) for a missing key or
    // value, or a value longer than the 1024-character buffer.
    static bool GetKeyValue(std::int32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                            std::string& KeyVal);
    // The same from a store read before.
    static bool GetKeyValue(const KeyStore& store, std::int32_t KeyRoot, const std::string& KeyName,
                            const std::string& SubKeyRef, std::string& KeyVal);

    // "Version " + major.minor.revision.
    static QString VersionText(const modTAVOCfg::ProgramVersion& version);

    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    QLabel* Image1;
    QFrame* Line1[2];
    QLabel* lblDescription;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDisclaimer;
};

// Shows the about box modally over parent; returns when it is closed.
void ShowAboutBox(QWidget* parent);

}  // namespace tavo
