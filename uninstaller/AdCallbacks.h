// The uninstaller's walks over an application's queues: each live "Done"
// record gives back its references to the cached ad; each live "Pending"
// record only looks. Cached files that nothing references any more are
// deleted. A record that does not parse, an ad folder that is a link, or an
// rc file that is unknown releases and deletes nothing.
#pragma once

#include "QueueDb.h"

#include <string>

// Releases one reference of each family; a record whose references were
// given back is made non-live, so no later walk gives them back again.
void OnDoneRecord(QueueVisit& visit, const std::string& adsFolder);
// Deletes what no record counts any more, without changing counts.
void OnPendingRecord(QueueVisit& visit, const std::string& adsFolder);
