// The prefer-generic-driver switch, read by the probes.
#pragma once

extern unsigned char sPreferGenericDriver;
