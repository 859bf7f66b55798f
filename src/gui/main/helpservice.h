#pragma once
class QWidget;

namespace qv {
// The help book: contents and index, or the topic of a help-context number.
class HelpService {
  public:
    static void show(QWidget* parent, int context);
};
} // namespace qv
