// Adding what is no video file: pipes and names Qt cannot read are refused at once
// by button and by drop; a name too long for an output is shortened.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <cstdio>

#include "WindowTestSupport.h"
#include "support/FifoWatch.h"
#include "support/QtPrinters.h"

TEST_F(WindowTest, PipesAndUnreadableNamesAreRefusedAtOnceLongNamesShortened) {
  FifoWatch fifo(media + "/pipe.mp4");
  ASSERT_TRUE(fifo.made());
  ClipSpec small;
  small.width = 480;
  small.height = 270;
  small.seconds = 0.5;
  const QByteArray raw = QByteArray::fromStdString(media + "/\xFF\xFE bad.mp4");
  ASSERT_EQ(std::rename(make_clip(media, "bad.mp4", small).c_str(), raw.constData()), 0);
  const std::string long_clip = make_clip(media, std::string(250, 'v') + ".mp4", small);
  const QString not_regular =
      "Information:Only regular files can be transcoded, not folders, pipes or devices!";

  open_window();
  AddFlowAnswers answers;
  EXPECT_FALSE(window->add_video_file(QString::fromStdString(media + "/pipe.mp4")));
  EXPECT_EQ(answers.seen, QStringList{not_regular});
  answers.seen.clear();
  EXPECT_TRUE(window->add_video_file(QString::fromStdString(long_clip)));
  EXPECT_EQ(answers.seen, QStringList{"settings:" + QString(244, 'v') + "_output.mp4"});

  // A file manager sends the name's bytes percent-encoded; Qt decodes them to U+FFFD.
  answers.seen.clear();
  QMimeData files;
  files.setData("text/uri-list",
                "file://" + raw.toPercentEncoding("/") + "\r\n" +
                    QUrl::fromLocalFile(QString::fromStdString(media + "/pipe.mp4")).toEncoded() + "\r\n");
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &drop);
  ASSERT_TRUE(wait_until([&] { return answers.seen.size() == 2; }, 120000));
  EXPECT_EQ(
      answers.seen,
      QStringList({"Information:The file name is not valid UTF-8 and cannot be read, please rename the file!",
                   not_regular}));
  EXPECT_EQ(manager->GetAllJobCount(), 1);
  EXPECT_FALSE(fifo.readerWasBlocked());
}
