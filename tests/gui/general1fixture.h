#pragma once
// One opening of the General 1 dialog, driven step by step like MarioSession, with
// its two sub-dialogs opened and closed the way their buttons do.
#include <memory>

#include "core/tables/general1.h"
#include "gui/dialogfixture.h"
#include "gui/dialogs/basicblocks.h"
#include "gui/dialogs/general1.h"
#include "gui/dialogs/staircaseblocks.h"

namespace qv::test {

// The unmodified game's block patterns, cloud byte and staircase tables.
inline void putBlockDefaults(std::vector<std::uint8_t>& img, int shift = 0) {
    const std::uint8_t patterns[32] = {0x00, 0x00, 0x00, 0x18, 0x01, 0x18, 0x07, 0x18,
                                       0x0F, 0x18, 0xFF, 0x18, 0x01, 0x1F, 0x07, 0x1F,
                                       0x0F, 0x1F, 0x81, 0x1F, 0x01, 0x00, 0x8F, 0x1F,
                                       0xF1, 0x1F, 0xF9, 0x18, 0xF1, 0x18, 0xFF, 0x1F};
    std::copy(std::begin(patterns), std::end(patterns), img.begin() + 0x13EC + shift);
    img[static_cast<std::size_t>(0x14B5 + shift)] = 0x08;
    // Step 9 first: counts 0x1AB5..0x1ABD, start rows 0x1ABE..0x1AC6.
    const std::uint8_t stairs[18] = {0x07, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00,
                                     0x03, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A};
    std::copy(std::begin(stairs), std::end(stairs), img.begin() + 0x1AB5 + shift);
}

class Zenpan1Session : public DialogSessionDriver<TFormZenpan1> {
  public:
    explicit Zenpan1Session(FakeHost& host)
        : DialogSessionDriver(host, tables::general1(), &makeGeneral1Dialog) {}

    // A sub-dialog between its opening and OK or Cancel.
    template <class D> struct Sub {
        std::unique_ptr<D> d;
        template <class W> W* find(const QString& name) const {
            return d->template findChild<W*>(name);
        }
        void click(const char* button) const {
            find<QAbstractButton>(QString::fromLatin1(button))->click();
        }
    };
    Sub<TFormKihonBloc> openKihon() const { return {dialog()->openKihonBloc()}; }
    Sub<TFormKaidanBloc> openKaidan() const { return {dialog()->openKaidanBloc()}; }
    void close(Sub<TFormKihonBloc>& s, const char* button) const {
        s.click(button);
        dialog()->kihonBlocClosed(s.d->result() == QDialog::Accepted);
        s.d.reset();
    }
    void close(Sub<TFormKaidanBloc>& s, const char* button) const {
        s.click(button);
        dialog()->kaidanBlocClosed(s.d->result() == QDialog::Accepted);
        s.d.reset();
    }
};

} // namespace qv::test
