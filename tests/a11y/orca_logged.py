# Runs Orca (/usr/bin/orca, with the arguments given) with its debug file written line by line,
# so that a test reads what Orca says as it says it: Orca writes that file in blocks.
import builtins
import runpy
import sys

debug_file = sys.argv[sys.argv.index("--debug-file") + 1]
open_as_asked = builtins.open


def open_line_buffered(file, mode="r", *args, **kwargs):
    if file == debug_file:
        kwargs["buffering"] = 1
    return open_as_asked(file, mode, *args, **kwargs)


builtins.open = open_line_buffered
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")
