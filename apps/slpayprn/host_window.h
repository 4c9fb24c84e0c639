#pragma once
// The demo host: the small window "工资管理" that stands in for the payroll program.
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "command_line.h"
#include "host_driver.h"

namespace slp::app {

class HostWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HostWindow(const HostOptions& options, QWidget* parent = nullptr);
    HostFields fields() const;

  private:
    void call(const char* method, const QString& caption);

    HostDriver driver_;
    QLineEdit* database_;
    QLineEdit* unitCode_;
    QLineEdit* unitName_;
    QLineEdit* month_;
    QLineEdit* payDay_;
    QLabel* status_;
};

}  // namespace slp::app
