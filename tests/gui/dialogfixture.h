#pragma once
// A stand-in for the main window as the settings dialogs see it, and helpers to drive
// a settings dialog (the Mario dialog here) step by step.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "core/document.h"
#include "core/tables/mario.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/mario.h"
#include "gui/dialogs/settingssession.h"
#include "gui/dialogs/updown.h"
#include "gui/support/scriptedplatform.h"

namespace qv::test {

class FakeHost final : public DialogHost {
  public:
    RomDocument doc;
    bool resets = false;
    DialogMemory memory;
    QWidget* window = nullptr;
    int edited = 0;  // edits the document announced, whether or not they changed a byte
    int palette = 0; // the palette colour source option

    FakeHost() {
        doc.subscribe([this](const DocumentEvent& e) {
            if (e.change == DocumentChange::Edited) ++edited;
        });
    }
    RomDocument& document() override { return doc; }
    bool confirmResets() const override { return resets; }
    DialogMemory& dialogMemory() override { return memory; }
    QWidget* hostWindow() override { return window; }
    int paletteSource() const override { return palette; }

    // Opens an in-memory image of `size` bytes (40,976 or 41,488) as the document.
    void open(const std::vector<std::uint8_t>& bytes) { doc.replace(bytes, "/tmp/test.nes"); }
    std::uint8_t at(int fileOffset) const {
        return doc.image()[static_cast<std::size_t>(fileOffset)];
    }
};

inline std::vector<std::uint8_t> blankImage(int size = 40976) {
    return std::vector<std::uint8_t>(static_cast<std::size_t>(size), 0);
}

// Writes `bytes` into `img` from `offset` on.
inline void put(std::vector<std::uint8_t>& img, int offset,
                const std::vector<std::uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), img.begin() + offset);
}
inline void put(std::vector<std::uint8_t>& img, int offset, std::uint8_t byte) {
    img[static_cast<std::size_t>(offset)] = byte;
}

// The document's `n` bytes from `offset`.
inline std::vector<std::uint8_t> at(const FakeHost& host, int offset, int n) {
    const auto& im = host.doc.image();
    return {im.begin() + offset, im.begin() + offset + n};
}

// Places whose known values the random-image tests plant now and then, so that the
// lists are met in bounds too: one byte per value, or a run of bytes per value.
struct PlantedByte {
    int offset;
    std::vector<std::uint8_t> values;
};
struct PlantedRun {
    int offset;
    std::vector<std::vector<std::uint8_t>> values;
};

// Random bytes from `rng`; 512 more (a trainer) when `shift` is 512.
inline std::vector<std::uint8_t> randomImage(std::mt19937& rng, int shift) {
    auto img = blankImage(shift ? 41488 : 40976);
    for (auto& b : img)
        b = static_cast<std::uint8_t>(rng() & 0xFF);
    return img;
}

// The same, then at each place one of its values, or its random bytes left as they are.
template <class Places>
std::vector<std::uint8_t> randomImage(std::mt19937& rng, int shift, const Places& known) {
    auto img = randomImage(rng, shift);
    for (const auto& k : known) {
        const unsigned pick = rng() % (k.values.size() + 1);
        if (pick == k.values.size()) continue; // leave the random bytes
        put(img, k.offset + shift, k.values[pick]);
    }
    return img;
}

// One opening of a settings dialog of class `D`: load() on construction, then the
// test pokes widgets and ends it with ok() or cancel().
template <class D> class DialogSessionDriver {
  public:
    DialogSessionDriver(FakeHost& host, const DialogTable& table, DialogFactory factory)
        : session(host, table, std::move(factory)) {
        session.load();
    }
    D* dialog() const { return static_cast<D*>(session.dialog()); }
    template <class W> W* find(const char* name) const {
        return dialog()->template findChild<W*>(QString::fromLatin1(name));
    }
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(name); }
    QCheckBox* check(const char* name) const { return find<QCheckBox>(name); }
    QComboBox* combo(const char* name) const { return find<QComboBox>(name); }
    QString label(const char* name) const { return find<QLabel>(name)->text(); }
    UpDown* spin(const char* name) const { return find<UpDown>(name); }
    bool on(const char* name) const { return find<QAbstractButton>(name)->isChecked(); }
    bool enabled(const char* name) const { return find<QWidget>(name)->isEnabled(); }
    void click(const char* button) const { find<QAbstractButton>(button)->click(); }
    void set(const char* editName, const char* text) const { edit(editName)->setText(text); }
    // The OK button (BtnOkClick and the modal result), then the launcher's end.
    bool ok() {
        click("BtnOk");
        return session.finish(dialog()->result() == QDialog::Accepted);
    }
    bool cancel() {
        click("BtnCancel");
        return session.finish(dialog()->result() == QDialog::Accepted);
    }

    SettingsSession session;
};

// OK without changes on each seed's random image, with `known` planted, rewrites no
// byte and leaves the document unmodified. `Session` opens the dialog on a host.
template <class Session, class Places>
void expectOkKeepsRandomImages(const Places& known, unsigned seeds) {
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const int shift = seed % 2 ? 0 : 512;
        auto img = randomImage(rng, shift, known);
        FakeHost host;
        host.open(img);
        Session s(host);
        EXPECT_FALSE(s.ok());
        ASSERT_TRUE(std::equal(img.begin(), img.end(), host.doc.image().begin()));
        EXPECT_FALSE(host.doc.modified());
    }
}

class MarioSession : public DialogSessionDriver<SettingsDialog> {
  public:
    explicit MarioSession(FakeHost& host)
        : DialogSessionDriver(host, tables::mario(), &makeMarioDialog) {}
};

} // namespace qv::test
