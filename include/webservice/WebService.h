/* WebService: every public header of the library. */
#ifndef WEBSERVICE_WEBSERVICE_H
#define WEBSERVICE_WEBSERVICE_H

#include "Common.h"
#include "Enums.h"
#include "Transport.h"
#include "Account.h"
#include "AudioVideo.h"
#include "BasicSystem.h"
#include "Network.h"
#include "EventSchedule.h"
#include "PTZ.h"
#include "VideoAnalysis.h"
#include "Utility.h"
#include "Factory.h"

#endif
