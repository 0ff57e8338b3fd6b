// The status bar panel that shows the band of the radio data - the band
// record of the opened file or of the radio read - when it differs from the
// band every editor checks against. A user then sees why channels show or
// are refused as out of band, and can choose the model; the editors' band
// itself changes only where it always does (model select, optional
// features).
#pragma once

#include "Globals.h"
#include "Language.h"

#include <QLabel>
#include <optional>

// What the panel says: nothing while the data's band record equals the
// editors' band (editorLow..editorHigh MHz).
std::optional<BilingualText> DataBandNote(const ImageTable &image, double editorLow,
                                          double editorHigh);

class DataBandPanel : public QLabel {
    Q_OBJECT
public:
    // While it shows, the panel takes the place of an empty one, so the
    // other panels keep their places and widths.
    DataBandPanel(QLabel *place, QWidget *parent);

    // Shows the note for RadioData and BandLowMHz..BandHighMHz now.
    void refresh();

private:
    // The band and the image change within a window's handlers, often
    // together: the panel looks once the handler is done.
    void refreshSoon();

    QLabel *place_;
    bool refreshQueued_ = false;
};
