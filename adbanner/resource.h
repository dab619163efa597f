// Resource ids of the stand-in ad-banner control.
#pragma once

#define IDS_ADBANNER 100
