#pragma once
// The dialog benchmarks' host: a document each benchmark fills, and no prompts.
#include "core/document.h"
#include "gui/dialogs/dialoghost.h"

class BenchHost final : public qv::DialogHost {
  public:
    qv::RomDocument doc;
    qv::DialogMemory memory;
    qv::RomDocument& document() override { return doc; }
    bool confirmResets() const override { return true; }
    qv::DialogMemory& dialogMemory() override { return memory; }
    QWidget* hostWindow() override { return nullptr; }
};
