#pragma once
// The file dialog of a device window: a file name, a filter, an open and a save
// dialog. A cancelled dialog leaves the file name empty. The program shows Qt's
// file dialog; tests install a factory that makes scripted dialogs.

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace tavo {

class ICommonDialog {
  public:
    virtual ~ICommonDialog() = default;
    virtual std::string FileName() const = 0;
    virtual void SetFileName(const std::string& name) = 0;
    virtual std::string Filter() const = 0;
    virtual void SetFilter(const std::string& filter) = 0;
    virtual void ShowOpen() = 0;
    virtual void ShowSave() = 0;
};

// QFileDialog behind the interface. The filter text "Description | pattern" is
// read as the description followed by the pattern.
class QtCommonDialog : public ICommonDialog {
  public:
    explicit QtCommonDialog(QWidget* parent) : parent_(parent) {}
    std::string FileName() const override { return fileName_; }
    void SetFileName(const std::string& name) override { fileName_ = name; }
    std::string Filter() const override { return filter_; }
    void SetFilter(const std::string& filter) override { filter_ = filter; }
    void ShowOpen() override;
    void ShowSave() override;

  private:
    QWidget* parent_;
    std::string fileName_;
    std::string filter_;
};

using CommonDialogFactory = std::function<std::unique_ptr<ICommonDialog>(QWidget* parent)>;

// Replaces the dialog that new device windows get; an empty factory restores Qt's.
void SetCommonDialogFactory(CommonDialogFactory factory);
std::unique_ptr<ICommonDialog> MakeCommonDialog(QWidget* parent);

}  // namespace tavo
