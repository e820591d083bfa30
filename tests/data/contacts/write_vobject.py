# Writes two cards with python3-vobject into the file named by the first
# argument: one with every field vobject knows, one with an empty FN.
import sys, vobject
c = vobject.vCard()
c.add('fn').value = 'Петров, Пётр; старший'
c.add('n').value = vobject.vcard.Name(family='Петров', given='Пётр')
t = c.add('tel'); t.value = '+7 (916) 000-11-22'; t.type_param = 'CELL'
t = c.add('tel'); t.value = '123-45-67'; t.type_param = 'WORK'
c.add('email').value = 'petrov@mail.ru'
c.add('org').value = ['ООО Ромашка', 'Отдел продаж']
c.add('adr').value = vobject.vcard.Address(street='ул. Ленина, 5', city='Москва', country='Россия')
c.add('note').value = 'Длинная заметка ' * 8 + '\nвторая строка, с запятой; и \\ чертой'
n = vobject.vCard()
n.add('n').value = vobject.vcard.Name(family='Сидорова', given='Анна', additional='Петровна')
n.add('fn').value = ''
n.add('tel').value = '8 800 555-35-35'
with open(sys.argv[1], 'w', encoding='utf-8', newline='') as f:
    f.write(c.serialize() + n.serialize())
