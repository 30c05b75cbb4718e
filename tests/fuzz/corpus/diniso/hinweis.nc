%
g161 g18
g02 x1 z1 i0 k0
g17 g162
g3 x5 y5
g0x1
