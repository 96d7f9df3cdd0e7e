#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

struct ClosedBox {
  QString title;
  QString text;
};

// Answers modal dialogs so no test hangs on one: every few milliseconds the
// visible modal dialog is ended with its escape button (Ok in an information box,
// No or Cancel in a question), or rejected when it has none. Each box answered is
// recorded and handed to the optional callback.
class ModalBoxCloser : public QObject {
  Q_OBJECT

 public:
  explicit ModalBoxCloser(QObject* parent = nullptr, int interval_ms = 50,
                          std::function<void(const ClosedBox&)> on_close = {});

  const std::vector<ClosedBox>& closed() const { return closed_; }

 private:
  void close_modal_dialogs();

  QTimer timer_;
  std::function<void(const ClosedBox&)> on_close_;
  std::vector<ClosedBox> closed_;
};
