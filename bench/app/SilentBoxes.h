#pragma once

#include "app/MessageBoxes.h"

// Message boxes that nobody sees, so a benchmark runs on without waiting for a click.
class SilentBoxes : public zdawnik::MessageBoxes
{
public:
    void show(QWidget*, Icon, const QString&, const QString&) override {}
    bool ask(QWidget*, const QString&, const QString&) override { return true; }
};
