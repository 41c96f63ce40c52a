#include "diagnostics/EventLogDelegate.h"

#include "diagnostics/DiagnosticLog.h"
#include "diagnostics/EventLogModel.h"

#include <QImage>
#include <QListView>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 300;

// Paints one entry with the delegate into an image, as the log list would.
QImage paintEntry(const QModelIndex& index, QStyle::State state) {
    QListView view; // gives the delegate a widget, palette and style to draw with
    EventLogDelegate delegate;
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = QRect(0, 0, kWidth, EventLogDelegate::kRowHeight);
    option.state = state | QStyle::State_Enabled;
    option.palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    option.palette.setColor(QPalette::Base, QColor(255, 255, 255));

    QImage image(kWidth, EventLogDelegate::kRowHeight, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    return image;
}

// The background, read at the right end of the row where no text reaches.
QColor backgroundOf(const QImage& image) {
    return image.pixelColor(kWidth - 4, EventLogDelegate::kRowHeight / 2);
}

bool hasBlackText(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < kWidth / 2; ++x)
            if (image.pixelColor(x, y) == QColor(Qt::black))
                return true;
    return false;
}

} // namespace

TEST(EventLogDelegate, EachKindDrawsOnItsColourWithBlackTextAlsoWhenSelected) {
    DiagnosticLog log([] { return QTime(14, 5, 7); });
    log.LogColor(0x0000FF, "red");
    log.LogColor(0xFF0000, "blue");
    log.LogColor(0xF0FBFF, "cream");
    log.LogError("chyba");
    log.LogInfo("Start aplikace");
    EventLogModel model(log);
    model.publishPending();
    ASSERT_EQ(model.rowCount(), 5);

    const QColor expected[] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(255, 251, 240),
                               QColor(255, 224, 224), QColor(224, 255, 224)};
    for (int row = 0; row < 5; ++row) {
        for (const QStyle::State state :
             {QStyle::State(QStyle::State_None), QStyle::State(QStyle::State_Selected)}) {
            SCOPED_TRACE(testing::Message() << "row " << row << " state " << int(state));
            const QImage image = paintEntry(model.index(row), state);
            EXPECT_EQ(backgroundOf(image), expected[row]);
            EXPECT_EQ(image.pixelColor(0, 0), expected[row]); // the whole rectangle is filled
            EXPECT_TRUE(hasBlackText(image));
        }
    }
}

TEST(EventLogDelegate, EmptyAndUnknownEntriesLeaveTheListsOwnColours) {
    // Entries the log operations never make: one stored text per row.
    class Raw : public QAbstractListModel {
    public:
        int rowCount(const QModelIndex&) const override { return 2; }
        QVariant data(const QModelIndex& index, int role) const override {
            if (role != EventLogModel::StoredEntryRole)
                return {};
            return index.row() == 0 ? QByteArray() : QByteArray("?plain");
        }
    } raw;

    const QImage empty = paintEntry(raw.index(0), QStyle::State_Selected);
    EXPECT_EQ(backgroundOf(empty), QColor(1, 2, 3)); // nothing drawn at all
    EXPECT_EQ(backgroundOf(paintEntry(raw.index(1), QStyle::State_None)), QColor(255, 255, 255));
    EXPECT_EQ(backgroundOf(paintEntry(raw.index(1), QStyle::State_Selected)), QColor(0, 0, 128));
}
