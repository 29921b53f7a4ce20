#!/bin/sh
# Stands in for the web browser and mail program in the Windows tests: every
# address the shell opens is appended to one log.
printf '%s\n' "$1" >> /tmp/tovo-winebrowser.log
