// Adding what is no video file: a pipe and a name Qt cannot read are refused at once.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <fstream>

#include "WindowTestSupport.h"
#include "support/FifoWatch.h"
#include "support/QtPrinters.h"

TEST_F(WindowTest, DroppedPipesAndUnreadableNamesAreRefusedAtOnce) {
  FifoWatch fifo(media + "/pipe.mp4");
  const QByteArray raw = QByteArray::fromStdString(media + "/\xFF\xFE bad.mp4");
  ASSERT_TRUE(std::ofstream(raw.constData()).good());
  open_window();
  AddFlowAnswers answers;
  // A file manager sends the name's bytes percent-encoded; Qt decodes them to U+FFFD.
  QMimeData files;
  files.setData("text/uri-list",
                "file://" + raw.toPercentEncoding("/") + "\r\n" +
                    QUrl::fromLocalFile(QString::fromStdString(media + "/pipe.mp4")).toEncoded() + "\r\n");
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &enter);
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &drop);
  // Both in one summary of what was not added.
  ASSERT_TRUE(wait_until([&] { return answers.seen.size() == 1; }, 120000));
  EXPECT_TRUE(answers.seen[0].contains(
      " bad.mp4: The file name is not valid UTF-8 and cannot be read, please rename the file\n"))
      << answers.seen[0].toStdString();
  EXPECT_TRUE(answers.seen[0].endsWith(
      "pipe.mp4: Only regular files can be transcoded, not folders, pipes or devices"))
      << answers.seen[0].toStdString();
  EXPECT_FALSE(fifo.readerWasBlocked());
}
