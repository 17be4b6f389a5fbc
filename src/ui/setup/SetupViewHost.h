// What the setup views and the teacher's editors need from the main window: the working
// catalogue, the right to change exercise material, the answer picture, the setup as it was when
// the view was entered, and an output for previews.
#pragma once

#include <cstdint>
#include <functional>

namespace kalvintor::setup {
struct SetupRecord;
}
namespace kalvintor::sound {
class TMidiOut;
}
namespace kalvintor::theory {
struct ChordCatalogue;
}

namespace kalvintor::ui {

class SetupViewHost {
public:
    virtual ~SetupViewHost() = default;
    virtual theory::ChordCatalogue& editableCatalogue() = 0;
    // An editor changed a user entry: the catalogue is written back (Chord.dat).
    virtual void catalogueEdited() = 0;
    // Whether the current user may change exercise material (chord types, progressions).
    virtual bool mayEditMaterial() const = 0;
    // The setup dialogs' answer picture: 2 piano, 4 guitar, anything else the staff.
    virtual int answerPicture() const = 0;
    // The setup as it was when the setup view was entered ("Restore to previous settings").
    virtual const setup::SetupRecord& enteredSetup() const = 0;
    // The output previews play on; null when there is none.
    virtual sound::TMidiOut* previewOut() = 0;
    // MIDI keyboard input goes to `receiver` while the chord-type editor is open; empty stops it.
    virtual void routeEditorMidi(std::function<void(std::uint32_t)> receiver) = 0;
};

}  // namespace kalvintor::ui
