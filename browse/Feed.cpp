// The feed is a template; this unit carries the moc code of its signals.
#include "browse/Feed.h"
