// A link's new title on every tree item that stands for it: its item below
// Links (or the template's item) and each group line that names it.
#pragma once

#include "LinkStore.h"

#include <string>

class CLeftView;

void RetitleLinkItems(CLeftView& tree, const std::string& programFolder, const CURLEntry& entry,
                      const std::string& title);
