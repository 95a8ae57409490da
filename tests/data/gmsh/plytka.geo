// A small plate 40 x 20 meshed with quadrangles: clamped on the left edge,
// pulled by 1000 on the right edge, a point load on the top right corner.
// The meshes next to it were written by gmsh 4.8.4:
//   plytka_msh41.msh      gmsh plytka.geo -2 -format msh41
//   plytka_msh41_bin.msh  gmsh plytka.geo -2 -format msh41 -bin   (msh22 likewise)
//   plytka_rzad2.msh      gmsh plytka.geo -2 -order 2 -format msh41
//   bez_grup.msh          without the Physical and Recombine lines (triangles only)
lc = 8;
Point(1) = {0, 0, 0, lc};
Point(2) = {40, 0, 0, lc};
Point(3) = {40, 20, 0, lc};
Point(4) = {0, 20, 0, lc};
Line(1) = {1, 2};
Line(2) = {2, 3};
Line(3) = {3, 4};
Line(4) = {4, 1};
Curve Loop(1) = {1, 2, 3, 4};
Plane Surface(1) = {1};
Recombine Surface{1};
Physical Surface("stal") = {1};
Physical Curve("XY") = {4};
Physical Curve("FX=1000") = {2};
Physical Point("FY=-50") = {3};
