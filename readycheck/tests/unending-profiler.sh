#!/bin/sh
# Stands in for the display profiler beside the stand-in program: still running when the window
# closes, so that closing has to stop it. Ends by itself should a test leave it behind.
exec sleep 30
