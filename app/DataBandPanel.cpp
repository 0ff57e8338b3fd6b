#include "DataBandPanel.h"

#include "Conversions.h"
#include "ImageChanges.h"
#include "RecordCodec.h"
#include "SessionState.h"

#include <QTimer>

std::optional<BilingualText> DataBandNote(const ImageTable &image, double editorLow,
                                          double editorHigh)
{
    const BandLimits data = DecodeBandLimits(image);
    if (data.low == editorLow && data.high == editorHigh)
        return std::nullopt;
    const QString band =
        QStringLiteral(" %1--%2 MHZ").arg(NumberText(data.low), NumberText(data.high));
    return BilingualText{QStringLiteral("数据频段") + band, QStringLiteral("Data band") + band};
}

DataBandPanel::DataBandPanel(QLabel *place, QWidget *parent) : QLabel(parent), place_(place)
{
    setObjectName(QStringLiteral("Panel_DataBand"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    connect(&ImageChanges::instance(), &ImageChanges::rowsChanged, this, [this] { refreshSoon(); });
    connect(&SessionState::instance(), &SessionState::bandChanged, this, [this] { refreshSoon(); });
    hide();
}

void DataBandPanel::refreshSoon()
{
    if (refreshQueued_)
        return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] { refresh(); });
}

void DataBandPanel::refresh()
{
    refreshQueued_ = false;
    const std::optional<BilingualText> note = DataBandNote(RadioData, BandLowMHz, BandHighMHz);
    place_->setVisible(!note);
    setVisible(note.has_value());
    if (!note) {
        setText(QString());
        setToolTip(QString());
        setAccessibleName(QString());
        setAccessibleDescription(QString());
        return;
    }
    setFixedWidth(place_->maximumWidth());
    // A narrow window shortens the panel's text; its tool tip says it all.
    const int room = contentsRect().width() - 2 * margin();
    setText(fontMetrics().elidedText(note->text(), Qt::ElideRight, room));
    const QString why = Texts("打开的文件或读出的对讲机的频段与编辑使用的频段不同；"
                              "请在“机型”中选择机型或在“可选功能”中查看工作频率范围。",
                              "The band of the opened file or the radio read differs from the band "
                              "the editors use; choose the model under Model or see the working "
                              "range under Optional Features.");
    setToolTip(note->text() + u'\n' + why);
    // A screen reader hears the whole note, however short the panel.
    setAccessibleName(note->text());
    setAccessibleDescription(why);
}
