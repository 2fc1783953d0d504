# Writes the 24 x 24, 16-colour palette bitmap of the tree view.
import struct
pal = [(0,0,0),(128,0,0),(0,128,0),(128,128,0),(0,0,128),(128,0,128),(0,128,128),(192,192,192),
       (128,128,128),(255,0,0),(0,255,0),(255,255,0),(0,0,255),(255,0,255),(0,255,255),(255,255,255)]
W=H=24
img=[[13]*W for _ in range(H)]   # magenta: the transparent colour, as at the bottom-left pixel
def rect(x0,y0,x1,y1,c,fill=None):
    for y in range(y0,y1+1):
        for x in range(x0,x1+1):
            edge = x in (x0,x1) or y in (y0,y1)
            if edge: img[y][x]=c
            elif fill is not None: img[y][x]=fill
def hline(x0,x1,y,c):
    for x in range(x0,x1+1,2): img[y][x]=c
def vline(x,y0,y1,c):
    for y in range(y0,y1+1,2): img[y][x]=c

# the background stays transparent
# root: a yellow folder
rect(2,2,9,7,3,11)
# tree lines
vline(5,8,20,8)
hline(6,10,12,8); hline(6,10,18,8)
# two children with a check box each and a label bar
for y in (12,18):
    rect(11,y-2,15,y+2,0,15)
    rect(17,y-1,21,y+1,4,12)
# a tick in the first box
for x,y in ((12,12),(13,13),(14,12),(14,11)):
    img[y][x]=0
rows=b''
for y in range(H-1,-1,-1):
    row=bytearray()
    for x in range(0,W,2):
        row.append((img[y][x]<<4)|img[y][x+1])
    while len(row)%4: row.append(0)
    rows+=bytes(row)
paldata=b''.join(struct.pack('<BBBB',b,g,r,0) for r,g,b in pal)
off=14+40+len(paldata)
hdr=struct.pack('<2sIHHI',b'BM',off+len(rows),0,0,off)
info=struct.pack('<IiiHHIIiiII',40,W,H,1,4,0,len(rows),2835,2835,16,0)
open('resources/TLXTREEVIEW.bmp','wb').write(hdr+info+paldata+rows)
