#pragma once
#include "support/fake_core_services.h"
using GbkFakeServices = testsupport::FakeCoreServices;
