// The download window on Qt Widgets: a view of download::TForm1. It shows the model's lists,
// buttons and status line at the places of the original form and passes the clicks to the
// model's handlers. Every widget carries the component name of the model as its objectName.
//
// Thread context: GUI thread only. The model is not owned and must outlive the window.
#pragma once

#include <QWidget>
#include <functional>

#include "download/DownloadForm.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace downloadqt {

class DownloadWindow final : public QWidget, public download::TForm1View {
 public:
  explicit DownloadWindow(download::TForm1& form, QWidget* parent = nullptr);
  ~DownloadWindow() override;

  void showState() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Runs a handler of the model, then shows the model.
  void call(const std::function<void()>& handler);

  download::TForm1& form_;
  QGroupBox* GroupBox1_ = nullptr;
  QComboBox* ComboBox1_ = nullptr;
  QGroupBox* GroupBox2_ = nullptr;
  QPushButton* Button2_ = nullptr;
  QListWidget* ListBox1_ = nullptr;
  QPushButton* Button1_ = nullptr;
  QLineEdit* Edit1_ = nullptr;
  QPushButton* CancelButton_ = nullptr;
};

}  // namespace downloadqt
