#!/usr/bin/env python3
"""scripts/check-includes on small trees: a clean one passes, and each bad
include below makes it fail with a line that names the file."""
import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "check-includes")

CLEAN = {
    "olap/engine/Cube.h": "#pragma once\n",
    "olap/mdx/Query.h": '#include "olap/engine/Cube.h"\n',
    "olap/adomd/Adomd.h": '#include "olap/mdx/Query.h"\n',
    "olap/xmla/XmlaReader.h": '#include "olap/adomd/Adomd.h"\n',
    "grid/ExtStringGrid.h": '#include "grid/util/TextUtils.h"\n',
    "grid/util/TextUtils.h": "#pragma once\n#include <string>\n",
    "grid/data/GridSort.cpp": '#include "grid/ExtStringGrid.h"\n',
    "chart/series/ChartSeries.h": '#include "chart/axis/ChartAxis.h"\n',
    "chart/axis/ChartAxis.h": '#include "chart/core/PlotTypes.h"\n',
    "app/core/base/AppContext.h": '#include "olap/adomd/Adomd.h"\n',
    "app/ui/main/MainWindow.h": '#include "app/core/base/AppContext.h"\n#include <QWidget>\n',
}


def run(files, *args):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w") as fh:
                fh.write(text)
        done = subprocess.run([sys.executable, CHECKER, *args, root], capture_output=True, text=True)
        return done.returncode, done.stderr


class CheckIncludesTest(unittest.TestCase):
    def test_clean_tree_passes(self):
        code, err = run(CLEAN)
        self.assertEqual(code, 0, err)

    def test_bad_includes_fail(self):
        cases = [
            # (file added, its text, words the error line holds, checker options)
            ("olap/engine/Storage.cpp", '#include "olap/xmla/XmlaReader.h"\n',
             "olap/engine/Storage.cpp:1: olap/engine may not include olap/xmla", []),
            ("olap/adomd/Connection.cpp", '#include "olap/xmla/XmlaReader.h"\n',
             "olap/adomd/Connection.cpp:1: olap/adomd may not include olap/xmla", []),
            ("olap/engine/Cube.cpp", "#include <QString>\n", "olap/engine/Cube.cpp:1: olap may not include Qt", []),
            ("app/core/base/Log.cpp", '#include "app/ui/main/MainWindow.h"\n', "app/core may not include", []),
            ("app/core/base/Helpers.cpp", '#include "app/core/query/MDXBuilder.h"\n',
             "app/core/base may not include app/core/query", []),
            ("olap/cache/Cache.h", "#pragma once\n", "olap/cache is not in the stated order of olap", []),
            ("grid/util/IntList.cpp", '#include "grid/ExtStringGrid.h"\n',
             "grid/util/IntList.cpp:1: grid/util may not include grid/.", []),
            ("grid/ExtStringGrid.cpp", '#include "grid/data/GridSort.h"\n',
             "grid/ExtStringGrid.cpp:1: grid/. may not include grid/data", []),
            ("grid/GridMouse.cpp", '#include "grid/edit/GridEditPart.h"\n',
             "grid/GridMouse.cpp:1: grid/. may not include grid/edit", []),
            ("chart/axis/ChartAxis.cpp", '#include "chart/series/ChartSeries.h"\n',
             "chart/axis/ChartAxis.cpp:1: chart/axis may not include chart/series", []),
            ("chart/core/PlotValues.cpp", '#include "chart/series/ChartSeries.h"\n',
             "chart/core may not include chart/series", []),
        ]
        for path, text, words, options in cases:
            with self.subTest(path=path):
                code, err = run({**CLEAN, path: text}, *options)
                self.assertEqual(code, 1, err)
                self.assertIn(words, err)

    def test_cycle_between_sub_folders_fails(self):
        code, err = run({**CLEAN, "olap/engine/Cube.h": '#include "olap/mdx/Query.h"\n'})
        self.assertEqual(code, 1, err)
        self.assertIn("sub-folders include each other: olap/engine <-> olap/mdx", err)

    def test_sub_folders_without_a_stated_order_fail(self):
        code, err = run({**CLEAN, "extras/tree/TreeView.h": "#pragma once\n",
                         "extras/help/Help.cpp": '#include "extras/tree/TreeView.h"\n'})
        self.assertEqual(code, 1, err)
        self.assertIn("extras: has sub-folders but no stated order of them", err)


if __name__ == "__main__":
    unittest.main()
