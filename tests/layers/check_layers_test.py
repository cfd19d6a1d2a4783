#!/usr/bin/env python3
"""The layer check on small trees: it must name the files of every circle and
of every include against the listed layer order, and pass a clean tree."""

import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import check_layers  # noqa: E402


def run_on(files, order=None):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), 'w') as out:
                out.write(text)
        if order:
            with open(os.path.join(root, 'CMakeLists.txt'), 'w') as out:
                out.write(f'foreach(dir {" ".join(order)})\n  add_subdirectory(${{dir}})\nendforeach()\n')
        printed = io.StringIO()
        sys.argv = ['check_layers.py', root]
        with contextlib.redirect_stdout(printed):
            status = check_layers.main()
        return status, printed.getvalue()


class CheckLayers(unittest.TestCase):
    def test_cases(self):
        cases = [
            ('two folders in a circle name both files',
             {'low/a.h': '#include "high/b.h"\n', 'high/b.h': '#include "low/a.h"\n'}, None,
             1, ['high -> low -> high', 'low/a.h includes "high/b.h"', 'high/b.h includes "low/a.h"']),
            ('a circle through a sub-folder counts for its top folder',
             {'a/x.cpp': '#include "b/y.h"\n', 'b/y.h': '', 'b/deep/z.cpp': '#include "c/w.h"\n',
              'c/w.h': '', 'c/v.cpp': '  #  include "a/u.h"\n', 'a/u.h': ''}, None,
             1, ['a -> b -> c -> a', 'b/deep/z.cpp includes "c/w.h"']),
            ('a folder and its own sub-folder in a circle',
             {'a/x.cpp': '#include "a/sub/y.h"\n', 'a/sub/y.h': '', 'a/sub/z.cpp': '#include "a/x.h"\n',
              'a/x.h': ''}, None,
             1, ['a -> a/sub -> a', 'a/sub/z.cpp includes "a/x.h"']),
            ('an include against the listed order',
             {'low/a.cpp': '#include "high/b.h"\n', 'high/b.h': ''}, ['low', 'high'],
             1, ['low/a.cpp includes "high/b.h", but high comes after low']),
            ('a clean tree in order',
             {'low/a.h': '', 'high/b.cpp': '#include "low/a.h"\n#include <vector>\n',
              'high/c.cpp': '#include "high/b.h"\n#include "missing/x.h"\n', 'high/b.h': ''},
             ['low', 'high'], 0, ['1 folder dependencies, no circle']),
        ]
        for name, files, order, status, expected in cases:
            with self.subTest(name):
                got_status, printed = run_on(files, order)
                self.assertEqual(got_status, status, printed)
                for text in expected:
                    self.assertIn(text, printed)


if __name__ == '__main__':
    unittest.main()
