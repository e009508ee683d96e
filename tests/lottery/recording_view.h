#pragma once
#include "support/recording_view.h"
