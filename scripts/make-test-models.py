#!/usr/bin/env python3
"""Writes the viewer's test models.

  bend  DIR   DIR/bend.md5mesh and DIR/bend.md5anim: a box 4 units long on two
              joints ("root" at the base, "tip" half way up) whose upper half
              bends 70 degrees to one side and back over one second.
  dense PATH [TRIANGLES]  an OBJ sphere with about TRIANGLES triangles
              (100000 by default), for the frame-time figure.
"""
import math
import sys

SEGMENTS = 8          # rings along the box
LENGTH = 4.0
HALF = 0.5
FRAMES = 24
BEND_DEG = 70.0


def quat_x(deg):
    # MD5 keeps x, y, z and rebuilds w as the negative root: store -q.
    s = math.sin(math.radians(deg) / 2)
    return (-s, 0.0, 0.0)


def write_bend(folder):
    corners = [(-HALF, -HALF), (HALF, -HALF), (HALF, HALF), (-HALF, HALF)]
    verts, weights = [], []
    for ring in range(SEGMENTS + 1):
        z = LENGTH * ring / SEGMENTS
        tip = min(max((z - LENGTH / 4) / (LENGTH / 2), 0.0), 1.0)  # share of the tip joint
        for i, (x, y) in enumerate(corners):
            first = len(weights)
            if tip < 1.0:
                weights.append((0, 1.0 - tip, (x, y, z)))
            if tip > 0.0:
                weights.append((1, tip, (x, y, z - LENGTH / 2)))
            verts.append((i / 4.0, ring / SEGMENTS, first, len(weights) - first))
    tris = []
    for ring in range(SEGMENTS):
        for i in range(4):
            a, b = ring * 4 + i, ring * 4 + (i + 1) % 4
            c, d = a + 4, b + 4
            tris += [(a, c, b), (b, c, d)]
    top = SEGMENTS * 4
    tris += [(0, 1, 2), (0, 2, 3), (top, top + 2, top + 1), (top, top + 3, top + 2)]

    with open(folder + "/bend.md5mesh", "w", newline="\n") as f:
        f.write('MD5Version 10\ncommandline "scripts/make-test-models.py"\n\n')
        f.write("numJoints 2\nnumMeshes 1\n\njoints {\n")
        f.write('\t"root"\t-1 ( 0 0 0 ) ( 0 0 0 )\n')
        f.write('\t"tip"\t0 ( 0 0 %g ) ( 0 0 0 )\n}\n\n' % (LENGTH / 2))
        f.write('mesh {\n\tshader "bend"\n\n\tnumverts %d\n' % len(verts))
        for n, (u, v, first, count) in enumerate(verts):
            f.write("\tvert %d ( %g %g ) %d %d\n" % (n, u, v, first, count))
        f.write("\n\tnumtris %d\n" % len(tris))
        for n, t in enumerate(tris):
            f.write("\ttri %d %d %d %d\n" % ((n,) + t))
        f.write("\n\tnumweights %d\n" % len(weights))
        for n, (joint, bias, p) in enumerate(weights):
            f.write("\tweight %d %d %g ( %g %g %g )\n" % ((n, joint, bias) + p))
        f.write("}\n")

    with open(folder + "/bend.md5anim", "w", newline="\n") as f:
        f.write('MD5Version 10\ncommandline "scripts/make-test-models.py"\n\n')
        f.write("numFrames %d\nnumJoints 2\nframeRate 24\nnumAnimatedComponents 3\n\n" % FRAMES)
        f.write('hierarchy {\n\t"root"\t-1 0 0\n\t"tip"\t0 56 0\n}\n\n')
        reach = LENGTH + HALF
        f.write("bounds {\n")
        for _ in range(FRAMES):
            f.write("\t( %g %g %g ) ( %g %g %g )\n" % (-reach, -reach, -HALF, reach, reach, reach))
        f.write("}\n\nbaseframe {\n\t( 0 0 0 ) ( 0 0 0 )\n\t( 0 0 %g ) ( 0 0 0 )\n}\n" % (LENGTH / 2))
        for frame in range(FRAMES):
            q = quat_x(BEND_DEG * math.sin(2 * math.pi * frame / FRAMES))
            f.write("\nframe %d {\n\t%.6f %.6f %.6f\n}\n" % ((frame,) + q))


def write_dense(path, triangles):
    # A UV sphere: 2 * rings * slices triangles, minus the degenerate pole rows.
    slices = int(math.sqrt(triangles))
    rings = max(2, triangles // (2 * slices))
    with open(path, "w", newline="\n") as f:
        f.write("# %d-triangle sphere from scripts/make-test-models.py\n" % (2 * rings * slices))
        for r in range(rings + 1):
            phi = math.pi * r / rings
            for s in range(slices + 1):
                theta = 2 * math.pi * s / slices
                x, y, z = math.sin(phi) * math.cos(theta), math.cos(phi), math.sin(phi) * math.sin(theta)
                f.write("v %.5f %.5f %.5f\nvn %.5f %.5f %.5f\nvt %.5f %.5f\n" % (x, y, z, x, y, z, s / slices, r / rings))
        row = slices + 1
        for r in range(rings):
            for s in range(slices):
                a = r * row + s + 1
                b, c, d = a + 1, a + row, a + row + 1
                f.write("f %d/%d/%d %d/%d/%d %d/%d/%d\n" % (a, a, a, c, c, c, b, b, b))
                f.write("f %d/%d/%d %d/%d/%d %d/%d/%d\n" % (b, b, b, c, c, c, d, d, d))


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "bend":
        write_bend(sys.argv[2])
    elif len(sys.argv) >= 3 and sys.argv[1] == "dense":
        write_dense(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 100000)
    else:
        sys.exit(__doc__)
