#include "ServerLinks.h"

CActivityLink *g_pActivityLink = nullptr;
CUserLink *g_pUserLink = nullptr;
