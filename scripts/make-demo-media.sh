#!/usr/bin/env bash
# Makes the demo course's pictures and sounds from Debian tools and writes
# them into courses/demo/resources (packed into the course archive by the
# build) and courses/demo/media. The results are committed; run this again
# only to change them.
#   scripts/make-demo-media.sh
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in convert espeak-ng oggenc sox ffmpeg iconv; do
  command -v "$tool" >/dev/null || {
    echo "needs $tool: apt-get install imagemagick espeak-ng vorbis-tools sox ffmpeg" >&2
    exit 1
  }
done
res=courses/demo/resources
media=courses/demo/media
mkdir -p "$res" "$media"
font=/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf
font_regular=/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf

# Ten words: stored name, Spanish, English, and the drawing of the card.
words=(
  "casa|la casa|the house|-fill #c0392b -draw 'polygon 60,70 100,35 140,70' -fill #f5cba7 -draw 'rectangle 70,70 130,120' -fill #6e2c00 -draw 'rectangle 92,92 108,120'"
  "perro|el perro|the dog|-fill #a0522d -draw 'ellipse 95,85 40,22 0,360' -draw 'circle 140,62 140,80' -fill black -draw 'circle 146,58 146,61'"
  "gato|el gato|the cat|-fill #555555 -draw 'ellipse 95,90 35,22 0,360' -draw 'circle 135,62 135,78' -draw 'polygon 125,50 130,38 136,50' -draw 'polygon 138,50 144,38 148,52'"
  "sol|el sol|the sun|-fill #f1c40f -stroke #f39c12 -strokewidth 4 -draw 'circle 100,78 100,40' -draw 'line 100,10 100,30' -draw 'line 100,126 100,146' -draw 'line 30,78 50,78' -draw 'line 150,78 170,78'"
  "luna|la luna|the moon|-fill #f4f6f7 -draw 'circle 100,78 100,38' -fill #1b2631 -draw 'circle 118,70 118,34'"
  "arbol|el árbol|the tree|-fill #6e2c00 -draw 'rectangle 92,80 108,135' -fill #229954 -draw 'circle 100,65 100,25'"
  "agua|el agua|the water|-fill #2e86c1 -draw 'polygon 100,25 70,90 130,90' -draw 'circle 100,95 100,65'"
  "libro|el libro|the book|-fill #884ea0 -draw 'rectangle 55,40 145,120' -fill white -draw 'rectangle 62,48 138,112' -fill #884ea0 -draw 'line 100,48 100,112'"
  "flor|la flor|the flower|-fill #229954 -draw 'rectangle 97,80 103,135' -fill #e74c3c -draw 'circle 100,45 100,30' -draw 'circle 80,65 80,50' -draw 'circle 120,65 120,50' -draw 'circle 100,85 100,70' -fill #f4d03f -draw 'circle 100,65 100,55'"
  "pan|el pan|the bread|-fill #d68910 -draw 'roundrectangle 50,55 150,110 25,25' -fill #f5b041 -draw 'line 75,60 85,105' -draw 'line 100,60 110,105' -draw 'line 125,60 135,105'"
)

# The title and end pictures: stage-sized JPEGs.
convert -size 640x480 gradient:'#1a5276'-'#154360' \
  -font "$font" -fill white -pointsize 54 -gravity north -annotate +0+120 'Primeras palabras' \
  -font "$font_regular" -pointsize 24 -annotate +0+200 'Ten first words of Spanish' \
  -pointsize 20 -fill '#d6eaf8' -annotate +0+380 'Press the right arrow key to begin' \
  -quality 85 "$res/title.jpg"
convert -size 640x480 gradient:'#145a32'-'#0b5345' \
  -font "$font" -fill white -pointsize 48 -gravity north -annotate +0+150 '¡Muy bien!' \
  -font "$font_regular" -pointsize 22 -annotate +0+230 'You have met ten Spanish words.' \
  -pointsize 20 -fill '#d5f5e3' -annotate +0+380 'Press Escape to close the course' \
  -quality 85 "$res/end.jpg"

# One stage picture per word: the drawing on a card, the Spanish word and its
# meaning. Even words as JPEG, odd ones as 8-bit BMP, so that the course uses
# both picture formats.
i=0
for entry in "${words[@]}"; do
  IFS='|' read -r name spanish english drawing <<<"$entry"
  card="$res/$name-card.png"
  eval convert -size 200x150 "xc:#fdfefe" -stroke none "${drawing//#/\\#}" '"$card"'
  page=(-size 640x480 xc:'#eaf2f8' "$card" -geometry +220+80 -composite
        -font "$font" -fill '#1b2631' -pointsize 44 -gravity north -annotate +0+260 "$spanish"
        -font "$font_regular" -fill '#566573' -pointsize 24 -annotate +0+320 "$english"
        -pointsize 18 -fill '#808b96' -annotate +0+420 'Left and right arrows: previous and next word   Space: hear it again')
  if (( i % 2 == 0 )); then
    convert "${page[@]}" -quality 85 "$res/$name.jpg"
  else
    convert "${page[@]}" -colors 64 -type Palette BMP3:"$res/$name.bmp"
  fi
  # The card alone, smaller, for the matching game and the quiz.
  convert "$card" -resize 140x105 -quality 85 "$res/$name-card.jpg"
  rm "$card"
  # The word spoken, as Ogg Vorbis in the archive.
  espeak-ng -v es -s 120 -w "$res/$name.wav" "$spanish"
  oggenc -Q -q 2 -o "$res/$name.ogg" "$res/$name.wav"
  rm "$res/$name.wav"
  i=$((i + 1))
done

# The stage pictures of the practice scenes: a heading and a line of help
# on each, the rest of the stage left to the course's controls.
practice_page() {  # practice_page FILE TOP BOTTOM HEADING HELP
  convert -size 640x480 gradient:"$2"-"$3" \
    -font "$font" -fill white -pointsize 36 -gravity north -annotate +0+24 "$4" \
    -font "$font_regular" -pointsize 18 -fill '#eaf2f8' -annotate +0+440 "$5" \
    -quality 85 "$1"
}
practice_page "$res/learner.jpg" '#1a5276' '#154360' 'Who is learning today?' \
  'Type your name, or pick it with the arrow keys, then press Enter'
practice_page "$res/review.jpg" '#6c3483' '#4a235a' 'Listen once more' \
  'Four words come back; listen and remember them'
practice_page "$res/match.jpg" '#117864' '#0e6251' 'Match the words' \
  "Drag each word under its picture, or press its number, then the picture's"
practice_page "$res/quiz.jpg" '#9a7d0a' '#7d6608' 'Quick quiz' \
  'Write the Spanish word for the picture and press Enter'

practice_page "$res/menu.jpg" '#1a5276' '#154360' 'Choose an activity' \
  'Click an activity or press its number; Escape shows your score'

# The dictation: a heading strip with the "done" spot at its right end, and
# the four words of the matching game spoken slowly.
convert -size 640x62 gradient:'#1a5276'-'#154360' \
  -font "$font" -fill white -pointsize 30 -gravity west -annotate +16+0 'Dictado' \
  -fill '#27ae60' -draw 'roundrectangle 566,10 632,52 8,8' \
  -fill white -pointsize 20 -gravity east -annotate +18+0 'Done' \
  -quality 85 "$res/dictado.jpg"
espeak-ng -v es -s 90 -w "$res/dictado.wav" 'la casa. el perro. el sol. la flor.'
oggenc -Q -q 2 -o "$res/dictado.ogg" "$res/dictado.wav"
rm "$res/dictado.wav"

# The video greeting: a short clip with the words written on it and spoken,
# and the strip of the media bar's buttons (three rows: normal, pressed,
# disabled; six 32-pixel cells: play, words, stop, start, back, forward).
espeak-ng -v es -s 130 -w "$res/hola.wav" '¡Hola! ¿Qué tal?'
ffmpeg -loglevel error -y -f lavfi -i 'color=c=0x1a5276:size=320x240:rate=25:duration=3' \
  -i "$res/hola.wav" \
  -vf "drawtext=fontfile=$font:text='¡Hola!':fontsize=72:fontcolor=white:x=(w-text_w)/2:y=(h-text_h)/2-20,drawtext=fontfile=$font:text='¿Qué tal?':fontsize=36:fontcolor=0xd6eaf8:x=(w-text_w)/2:y=h/2+40" \
  -c:v mpeg1video -q:v 4 -c:a mp2 -b:a 96k -ar 44100 -t 3 -fflags +bitexact "$res/hola.mpg"
rm "$res/hola.wav"
bar_row() {  # bar_row BACKGROUND FOREGROUND FILE
  convert -size 192x32 xc:"$1" -fill "$2" -stroke "$2" -draw 'polygon 11,8 11,24 24,16' \
    -draw "font-size 16 text 37,22 'Aa'" -draw 'rectangle 73,9 86,22' \
    -draw 'rectangle 105,8 107,24 polygon 120,8 120,24 109,16' \
    -draw 'polygon 148,8 148,24 138,16 polygon 158,8 158,24 148,16' \
    -draw 'polygon 170,8 170,24 180,16 polygon 180,8 180,24 190,16' \
    -fill none -stroke black -draw 'rectangle 0,0 31,31 rectangle 32,0 63,31 rectangle 64,0 95,31 rectangle 96,0 127,31 rectangle 128,0 159,31 rectangle 160,0 191,31' "$3"
}
bar=$(mktemp -d)
bar_row '#2e86c1' white "$bar/0.png"
bar_row '#1b4f72' '#f4d03f' "$bar/1.png"
bar_row '#aab7b8' '#d5dbdb' "$bar/2.png"
convert "$bar/0.png" "$bar/1.png" "$bar/2.png" -append -type TrueColor BMP3:"$res/mediabar.bmp"
rm -r "$bar"

# The reading page: a picture for the page, the glossary window's
# background, and the picture of the question asked at the end.
convert -size 200x120 gradient:'#87CEEB'-'#FFFFFF' -fill '#A0522D' -draw 'rectangle 60,50 140,110' \
  -fill '#B22222' -draw 'polygon 50,50 100,15 150,50' -type TrueColor BMP3:"$res/house.bmp"
convert -size 236x226 gradient:'#305080'-'#8090C0' -type TrueColor BMP3:"$res/_glosbg.bmp"
convert -size 320x170 xc:'#F5DEB3' -fill '#2E8B57' -draw 'rectangle 30,110 150,154' \
  -fill '#B22222' -draw 'rectangle 170,110 290,154' -fill white -font "$font" -pointsize 20 \
  -draw "text 60,139 'Yes'" -draw "text 210,139 'No'" -type TrueColor BMP3:"$res/ask.bmp"

# A loose sound in the media folder (the player looks there too), and the
# marker file that the media folder check accepts.
espeak-ng -v en -s 140 -w "$media/welcome.wav" "Welcome to your first Spanish words."
sox "$media/welcome.wav" -r 22050 -c 1 -b 16 "$media/welcome-22k.wav"
mv "$media/welcome-22k.wav" "$media/welcome.wav"
: > "$media/media.dir"
printf 'setProductName "Primeras palabras"\r\nsetSceneWidth 640\r\nsetSceneHeight 480\r\n' > "$res/vork.cfg"
du -sh "$res" "$media"
