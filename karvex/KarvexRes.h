// Resource ids of Karvex.ax.
#pragma once

#define IDD_CAPTIONINFO 101
#define IDS_CAPTIONINFO_TITLE 1
