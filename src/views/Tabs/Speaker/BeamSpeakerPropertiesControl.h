#pragma once

#include "views/Common/BeamSpeakerItem.h"
#include "views/GridControl/BoundPropertiesGrid.h"
#include "views/Tabs/BaseComponents/TranslatedOptions.h"

#include <QString>
#include <QVariant>
#include <cstdint>

class QFrame;

namespace zorvpro
{
// The speaker tab's panel for the selected steerable array: position,
// configuration (modules, one or two beams, delay, gain, comments) and the
// shape of each beam. The beam count switches between one and two beam
// sections, the beam shape shows or hides rows, and touching a property of
// one beam makes that beam the current one.
class BeamSpeakerPropertiesControl : public BoundPropertiesGrid
{
public:
    BeamSpeakerPropertiesControl();

    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;
    void createProperties() override;
    void layoutProperties() override;
    void updateProperty(const QString& name, const QVariant& value) override;
    void themeChanged(const int& theme) override;

    void createArrayProperties();
    // Beams 1 and 2 only; any other number throws std::logic_error.
    void bindBeamProperties(int beam);
    QFrame* setupBeamProperties(int beam);
    QWidget* createPositionGrid();
    QWidget* createConfigurationGrid();
    void selectBeamOfProperty(const QString& name);
    void setBeamCount(const QString& text);
    void updateBeamShapeRows(int beam);
    void updateBeamHighlight();
    // The property's widget, sized for a beam section.
    QWidget* beamRowWidget(BeamSpeakerItem item);
    void setSecondBeamRowsVisible(bool visible);

    int currentBeam() const { return currentBeam_; }
    bool isDual() const { return dual_; }
    QFrame* beamSection(int beam) const { return beam == 2 ? beam2Section_ : beam1Section_; }
    QFrame* beamSeparator() const { return beamSeparator_; }

private:
    QString beamItemName(BeamSpeakerItem beamOneItem, int beam) const;
    bool beamsOptionIsDual(const QString& text) const;

    QFrame* beamSeparator_ = nullptr;
    QFrame* beam1Section_ = nullptr;
    QFrame* beam2Section_ = nullptr;
    int currentBeam_ = 1;
    bool dual_ = false;
    QString beamCountText_;
    TranslatedOptions beamsOptions_;
    TranslatedOptions shapeOptions_;
};
} // namespace zorvpro
