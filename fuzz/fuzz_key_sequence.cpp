// Hotkey texts as the settings, profiles and the autoclicker store them: each is read as a
// key sequence (in the portable and in the native form) and turned into the system's
// hotkeys on the simulated desktop. Whatever the text, the mapping gives a virtual key a
// hotkey can carry, tells the same combination apart the same way every time, and a
// registration either holds one hotkey per chord or none at all.

#include "FuzzCheck.h"
#include "FuzzEnvironment.h"
#include "FuzzPlatform.h"

#include "core/SettingsNormalization.h"
#include "hotkeys/KeyMapping.h"
#include "hotkeys/QGlobalShortcut.h"

#include <QKeySequence>

namespace {

void mapChords(const QKeySequence& sequence)
{
    for (int chord = 0; chord < sequence.count(); ++chord) {
        const QString text = QKeySequence(sequence[chord]).toString(QKeySequence::NativeText);
        const int key = KeyMapping::virtualKeyOfChord(text, KeyMapping::keyNameTable());
        FUZZ_CHECK(key >= 0 && key <= 0xFFFF);
        FUZZ_CHECK((KeyMapping::modifiersOfChord(text) & ~0xFu) == 0);
    }
    FUZZ_CHECK(KeyMapping::systemIdentity(sequence) == KeyMapping::systemIdentity(sequence));
}

void registerSequence(QGlobalShortcut& shortcut, FuzzPlatform& desktop, const QKeySequence& sequence)
{
    const bool registered = shortcut.setShortcut(sequence);
    const std::size_t hotkeys = desktop.registeredHotKeys().size();
    FUZZ_CHECK(registered ? hotkeys == static_cast<std::size_t>(sequence.count()) : hotkeys == 0);
    FUZZ_CHECK(registered || !shortcut.errorText().isEmpty());
    shortcut.unsetShortcut();
    FUZZ_CHECK(desktop.registeredHotKeys().empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzEnvironment::instance();
    static FuzzPlatform desktop;
    platform::Platform::setCurrent(&desktop);
    static QGlobalShortcut shortcut;

    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The chord texts of the mapping come from the toolkit, but a stored text may reach it
    // as it is.
    const int key = KeyMapping::virtualKeyOfChord(text, KeyMapping::keyNameTable());
    FUZZ_CHECK(key >= 0 && key <= 0xFFFF);
    // As the program reads a stored hotkey, and in each of the two forms alone.
    for (const QKeySequence& sequence :
         {storedHotkey(text), QKeySequence::fromString(text, QKeySequence::PortableText),
          QKeySequence::fromString(text, QKeySequence::NativeText)}) {
        mapChords(sequence);
        registerSequence(shortcut, desktop, sequence);
    }
    return 0;
}
