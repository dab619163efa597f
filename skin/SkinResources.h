// Resource ids of the built-in skin's pictures; read by the resource compiler
// as well, so only #define lines.
#pragma once

#define IDB_SKIN_BACK 140
#define IDB_SKIN_FORWARD 141
#define IDB_SKIN_STOP 142
#define IDB_SKIN_HOME 143
#define IDB_SKIN_REFRESH 144
#define IDB_SKIN_FAVORITES 145
#define IDB_SKIN_PRINT 146
#define IDB_SKIN_GENERIC 147
#define IDB_SKIN_CLOSE 148
#define IDB_SKIN_MINIMIZE 149
#define IDB_SKIN_MENU 150
#define IDB_SKIN_GO 151
#define IDB_SKIN_BACKGROUND 173
#define IDB_SKIN_OFFLINE 178
#define IDB_SKIN_SECURE 179
#define IDB_SKIN_ONLINE 180
#define IDB_SKIN_NOTSECURE 181
#define IDB_SKIN_ANIMATOR 182
#define IDB_SKIN_MANAGER 190
#define IDB_SKIN_EDITSOURCE 191
#define IDB_SKIN_WORKOFFLINE 192
